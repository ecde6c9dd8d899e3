// SPDX-License-Identifier: GPL-3.0-or-later
// Adds a folder of 10,000 MPEG files to the input list the way the folder command does (scan,
// one bulk insert into the sorted list, label rule) and prints the time; target under a second.
#include "core/main_state.h"
#include "join/input_list.h"
#include "printing_prompter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace pf;

namespace {

constexpr int File_Count = 10'000;

}  // namespace

int main()
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/pf_bench_addfolder_XXXXXX"));
    if (!dir.isValid())
        return 1;
    const QString folder = dir.filePath(QStringLiteral("clips"));
    QDir().mkpath(folder);
    // Mixed case and an unsorted creation order, as a real folder has them.
    for (int i = 0; i < File_Count; ++i) {
        const int n = (i * 7919) % File_Count;
        QFile f(folder + QStringLiteral("/Clip %1.%2").arg(n, 5, 10, QLatin1Char('0')).arg(i % 3 ? "mpg" : "MPEG"));
        if (!f.open(QIODevice::WriteOnly))
            return 1;
    }
    Main_State state(dir.path());
    bench::Printing_Prompter answer(folder);
    Input_List list(state, answer);
    state.lstFiles.Add(QStringLiteral("/already/listed.mpg"));

    QElapsedTimer t;
    t.start();
    list.Add_Folder_Files();
    const double s = double(t.nsecsElapsed()) / 1e9;
    std::printf("added %d files from a folder of %d in %.3f s  (target < 1 s)\n", state.lstFiles.Count() - 1,
                File_Count, s);
    return state.lstFiles.Count() == File_Count + 1 ? 0 : 1;
}
