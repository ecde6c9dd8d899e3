// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of a join that touch the disk, as plain functions: the join engine runs each on a
// worker thread and takes its outcome back on the GUI thread. They tell their progress, and
// learn of a cancel, through the Copy_Progress they are given; they share no state.
#pragma once

#include "join/file_move.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace pf {

class Copy_Progress;

// The sequence number of an automatic name: characters 1 to 8 are digits and the run of
// digits from character 10 on (four at least) is the number; -1 for any other name.
qint64 Sequence_Number(const QString& fileName);

// AutoFolder + "/" + yyyymmdd + "_" + number (at least four digits) + "." + extension.
QString Automatic_Name(const QString& folder, const QDate& date, qint64 number, const QString& upperExt);

// The highest sequence number among the .mpg and .mpeg files of `folder`; 0 when there is none
// or the folder cannot be read.
qint64 Highest_Number_In(const QString& folder);

struct Automatic_Save {
    Move_Outcome moved;
    QString name;           // the name saved as, or the one that failed
    qint64 lastNumber = 0;  // the highest number found, then the one given
};

// Moves the finished `temp` to the first free automatic name in `folder` after the highest
// number found there: a name taken by a file the scan does not count is never replaced. On
// failure `temp` is removed.
Automatic_Save Save_Automatically(const QString& temp, const QString& folder, const QDate& date,
                                  const QString& upperExt, Copy_Progress* progress);

struct Inputs_Outcome {
    bool verified = false;  // the output was there, whole, under its final name
    QStringList kept;       // inputs that could not be removed
};

// Deletes (or moves to the trash) every input but the output itself, once `output` is a
// regular file of `size` bytes; stops at a cancel.
Inputs_Outcome Remove_Inputs(const QStringList& inputs, const QString& output, qint64 size, bool trash,
                             Copy_Progress* progress);

}  // namespace pf
