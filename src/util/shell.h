// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop operations: opening a file with its associated application, moving
// files to the desktop trash, and finding the folder where the program keeps its files.
#pragma once

#include <QString>
#include <QStringList>

namespace pf {

// Hands the file to the desktop's association; returns at once.
void Open_With_Association(const QString& path);

// Moves each path to the desktop trash, one after another; 0 when every one went, 1 otherwise.
int Send_To_Recycle_Bin(const QStringList& paths);

// The folder for the settings and group files: `exeFolder` when files can be created
// there, otherwise `fallback` (created when needed). Empty only when neither is usable.
QString Resolve_App_Folder(const QString& exeFolder, const QString& fallback);

// The fallback above for this user: ~/.local/share/Parlo_film.
QString Fallback_App_Folder();

}  // namespace pf
