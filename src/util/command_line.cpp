// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/command_line.h"

#include "util/version.h"

#include <QDir>

namespace pf {

Command_Line Parse_Command_Line(const QStringList& args, const QString& cwd)
{
    Command_Line cl;
    const QDir base(cwd);
    bool options = true;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && (a == QLatin1String("--version") || a == QLatin1String("-v"))) {
            cl.action = Command_Line::Action::Print_Version;
            return cl;
        } else if (options && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
            cl.action = Command_Line::Action::Print_Help;
            return cl;
        } else if (options && a.startsWith(u'-') && a.size() > 1) {
            if (cl.action != Command_Line::Action::Error)
                cl.error = QStringLiteral("unknown option %1").arg(a);
            cl.action = Command_Line::Action::Error;
        } else {
            cl.files << QDir::cleanPath(base.absoluteFilePath(a));
        }
    }
    return cl;
}

QString Version_Text()
{
    return QStringLiteral("Parlo_film Viewer %1\n").arg(QLatin1String(PF_VERSION));
}

QString Help_Text()
{
    return QStringLiteral("Usage: parlo_film [FILE...]\n"
                          "Parlo_film Viewer %1: joins MPEG files byte for byte, plays listed files one at a time\n"
                          "or all in turn, and keeps finished files and favourites in numbered groups.\n"
                          "\n"
                          "  FILE...     MPEG files (.mpg, .mpeg) to put into the input list at start\n"
                          "  --version   print the version and end\n"
                          "  --help      print this text and end\n"
                          "\n"
                          "Qt's own options (such as -platform xcb) are accepted as well.\n")
        .arg(QLatin1String(PF_VERSION));
}

}  // namespace pf
