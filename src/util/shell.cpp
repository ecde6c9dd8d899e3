// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

namespace pf {

void Open_With_Association(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

int Send_To_Recycle_Bin(const QStringList& paths)
{
    // Qt needs the data folder to exist; without it, it "trashes" into ./files of the
    // working folder and still reports success. Make it, and trust only an absolute result.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    int result = 0;
    for (const QString& p : paths) {
        QString inTrash;
        if (!QFile::moveToTrash(p, &inTrash) || !QDir::isAbsolutePath(inTrash))
            result = 1;
    }
    return result;
}

namespace {

// A folder is usable when a file can really be created in it (permission bits lie under root
// and on read-only mounts).
bool Can_Create_Files_In(const QString& folder)
{
    if (folder.isEmpty() || !QDir(folder).exists())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.parlo_probe_XXXXXX"));
    return probe.open();
}

}  // namespace

QString Resolve_App_Folder(const QString& exeFolder, const QString& fallback)
{
    if (Can_Create_Files_In(exeFolder))
        return QDir::cleanPath(exeFolder);
    if (!fallback.isEmpty() && QDir().mkpath(fallback) && Can_Create_Files_In(fallback))
        return QDir::cleanPath(fallback);
    return {};
}

QString Fallback_App_Folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Parlo_film");
}

}  // namespace pf
