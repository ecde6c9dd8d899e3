// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/log.h"

#include <cstring>

namespace pf {

// Critical is the first level a category prints by default, and the program logs nothing there.
Q_LOGGING_CATEGORY(Log_Join, "parlo_film.join", QtCriticalMsg)
Q_LOGGING_CATEGORY(Log_Groups, "parlo_film.groups", QtCriticalMsg)
Q_LOGGING_CATEGORY(Log_Settings, "parlo_film.settings", QtCriticalMsg)
Q_LOGGING_CATEGORY(Log_Mci, "parlo_film.mci", QtCriticalMsg)
Q_LOGGING_CATEGORY(Log_Mpv, "parlo_film.mpv", QtCriticalMsg)

QString Failure_Text(File_Status status, int error)
{
    switch (status) {
    case File_Status::Ok: return QStringLiteral("no failure");
    case File_Status::Missing: return QStringLiteral("missing");
    case File_Status::Not_Regular: return QStringLiteral("not a regular file");
    case File_Status::Too_Large: return QStringLiteral("too large");
    case File_Status::Failed: break;
    }
    return error ? QString::fromLocal8Bit(std::strerror(error)) : QStringLiteral("failed");
}

}  // namespace pf
