// SPDX-License-Identifier: GPL-3.0-or-later
// The program's log, for finding out what went wrong. Silent in a normal run: each category
// prints only when QT_LOGGING_RULES turns it on ("parlo_film.*=true" for all of them,
// "parlo_film.*.warning=true" for failures only). Events are logged at info level, failures at
// warning level, and nothing at a level a category prints by default.
//   parlo_film.join      each join: its inputs, then files, bytes and seconds, or why it failed
//   parlo_film.groups    each group switch (entries written and read), every failed group write
//   parlo_film.settings  every failed read or write of the settings file
//   parlo_film.mci       every media-control command with its result and reply
//   parlo_film.mpv       libmpv's own messages at warning and above
#pragma once

#include "util/safe_file.h"

#include <QLoggingCategory>

namespace pf {

Q_DECLARE_LOGGING_CATEGORY(Log_Join)
Q_DECLARE_LOGGING_CATEGORY(Log_Groups)
Q_DECLARE_LOGGING_CATEGORY(Log_Settings)
Q_DECLARE_LOGGING_CATEGORY(Log_Mci)
Q_DECLARE_LOGGING_CATEGORY(Log_Mpv)

// Why a file could not be read or written, in a few words: the status, or the system's text of
// `error` when the system refused.
QString Failure_Text(File_Status status, int error);

}  // namespace pf
