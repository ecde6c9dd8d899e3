// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: `parlo_film [FILE...]` puts the named MPEG files into the input
// list at start (a file manager's "open with"), `--version` and `--help` print and end. It is
// read twice: before QApplication, for --version and --help only, so that both work without a
// display; and after QApplication has taken Qt's own options (such as -platform xcb) out of it,
// for the files and for options nobody knows.
#pragma once

#include <QString>
#include <QStringList>

namespace pf {

struct Command_Line {
    enum class Action { Run, Print_Version, Print_Help, Error };
    Action action = Action::Run;
    QStringList files;  // absolute paths, in the order given
    QString error;      // for Error: the first unknown option
};

// `args` as main receives them, program name first; relative paths resolve against `cwd`.
Command_Line Parse_Command_Line(const QStringList& args, const QString& cwd);

QString Version_Text();
QString Help_Text();

}  // namespace pf
