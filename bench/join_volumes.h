// SPDX-License-Identifier: GPL-3.0-or-later
// `join volumes`: the join measured where its files live. Three 512 MiB inputs of random data
// and the output are on a volume of their own (a loop-mounted ext4 image standing in for a
// second drive, then an XFS one that shares blocks on copy), the application folder on the root
// file system or on that volume. Each run is a real join through Join_Commands with an automatic
// name (Auto = 1, AutoFolder beside the inputs), timed from the command to Join_Engine::ended,
// against `cat a b c > out` in the same folder; every file system's cache is dropped before each
// run. Where the application folder is elsewhere, the join as it was before (File.tmp in the
// application folder, then moved to its name) is measured too. Target: at most 1.1 times `cat`
// in every row, and under 1 s on XFS for the 1.5 GiB of 4 KiB-aligned inputs. A last XFS row
// has inputs whose sizes are no multiple of 4 KiB, where blocks can be shared only in part.
// Needs root, and mkfs.xfs for the XFS rows; says so and skips otherwise.
#pragma once

#include "core/main_state.h"
#include "join/file_copy.h"
#include "join/file_move.h"
#include "join/join_commands.h"

#include "bench_inputs.h"
#include "join_timing.h"
#include "printing_prompter.h"
#include "scratch_volume.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace pf::bench {

constexpr int Volume_Rounds = 5;
constexpr qint64 Volume_Input = qint64(512) << 20;
// Inputs, one output and the second copy the join of before makes beside it, with room to spare.
constexpr qint64 Volume_Image = qint64(5) << 30;
constexpr double Volume_Ratio_Target = 1.1;
constexpr double Xfs_Seconds_Target = 1.0;

// Bytes of `path` in extents it shares with other files (the kernel's FIEMAP), or -1.
inline qint64 Shared_Bytes(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    constexpr unsigned Batch = 256;
    std::vector<char> buffer(sizeof(fiemap) + Batch * sizeof(fiemap_extent));
    auto* map = reinterpret_cast<fiemap*>(buffer.data());
    qint64 shared = 0;
    for (quint64 start = 0;;) {
        std::fill(buffer.begin(), buffer.end(), 0);
        map->fm_start = start;
        map->fm_length = FIEMAP_MAX_OFFSET - start;
        map->fm_extent_count = Batch;
        if (::ioctl(fd, FS_IOC_FIEMAP, map) != 0) {
            shared = -1;
            break;
        }
        if (map->fm_mapped_extents == 0)
            break;
        const fiemap_extent& last = map->fm_extents[map->fm_mapped_extents - 1];
        for (unsigned i = 0; i < map->fm_mapped_extents; ++i)
            if (map->fm_extents[i].fe_flags & FIEMAP_EXTENT_SHARED)
                shared += qint64(map->fm_extents[i].fe_length);
        if (last.fe_flags & FIEMAP_EXTENT_LAST)
            break;
        start = last.fe_logical + last.fe_length;
    }
    ::close(fd);
    return shared;
}

// One join through the program, named automatically in `folder`: the output, or empty.
// `temp` receives where the join wrote first.
inline QString Program_Join(const QStringList& inputs, const QString& folder, const QString& appFolder, QString* temp)
{
    Main_State state(appFolder);
    state.settings.Auto = 1;
    state.settings.AutoFolder = folder;
    state.settings.Inlist = 0;  // the inputs stay for the next run
    state.lstFiles.Add_All(inputs);
    Printing_Prompter prompter;
    Join_Commands join(state, prompter);
    QEventLoop loop;
    QObject::connect(&join.Engine(), &Join_Engine::ended, &loop, &QEventLoop::quit);
    join.Run(Cmd_Join);
    if (join.Engine().Running())
        loop.exec();
    *temp = state.Temp_Join_File;
    return join.Engine().Join_Output;
}

// The join as it was before: File.tmp in the application folder, then moved to its name.
inline QString Join_As_Before(const QStringList& inputs, const QString& folder, const QString& appFolder)
{
    const QString temp = QDir(appFolder).filePath(QStringLiteral("File.tmp"));
    const QString out = QDir(folder).filePath(QStringLiteral("before.mpg"));
    return Concatenate(inputs, temp).Ok() && Move_File(temp, out, Move_Mode::Keep_Existing).Ok() ? out : QString();
}

struct Volume_Method {
    const char* name;
    std::function<QString()> run;  // the output it made, or empty
    std::vector<double> seconds;
    qint64 shared = -1;  // bytes of its last output shared with other files
};

// Times every method Volume_Rounds times, rotating which goes first, caches dropped before each.
inline bool Time_Volume_Rounds(std::vector<Volume_Method>& methods, qint64 bytes)
{
    bool ok = true;
    for (int round = 0; round < Volume_Rounds; ++round) {
        for (size_t k = 0; k < methods.size(); ++k) {
            Volume_Method& m = methods[(k + size_t(round)) % methods.size()];
            ok = Drop_All_Caches() && ok;
            QElapsedTimer t;
            t.start();
            const QString out = m.run();
            m.seconds.push_back(double(t.nsecsElapsed()) / 1e9);
            if (out.isEmpty() || QFileInfo(out).size() != bytes) {
                std::fprintf(stderr, "%s produced a wrong output\n", m.name);
                ok = false;
            }
            m.shared = Shared_Bytes(out);
            QFile::remove(out);
        }
    }
    return ok;
}

// One row: the program and `cat` (and the join of before, when `before`) on `inputs` in
// `folder`, with the application folder `appFolder`. False when a target was missed.
inline bool Placement_Row(const QString& title, const QStringList& inputs, const QString& folder,
                          const QString& appFolder, bool before, double underSeconds)
{
    qint64 bytes = 0;
    for (const QString& p : inputs)
        bytes += QFileInfo(p).size();
    QString temp;
    const QString catOut = QDir(folder).filePath(QStringLiteral("cat.mpg"));
    std::vector<Volume_Method> methods{
        {"cat", [&] { return Cat(inputs, catOut) ? catOut : QString(); }, {}},
        {"program", [&] { return Program_Join(inputs, folder, appFolder, &temp); }, {}},
    };
    bool ran = Time_Volume_Rounds(methods, bytes);
    // In rounds of its own, so that cat and the program take turns alike in every row; with a
    // third method in the rotation the program followed cat three times in five, cat it once.
    std::vector<Volume_Method> earlier{{"as before", [&] { return Join_As_Before(inputs, folder, appFolder); }, {}}};
    if (before) {
        ran = Time_Volume_Rounds(earlier, bytes) && ran;
        methods.push_back(earlier.front());
    }
    double load[3] = {};
    ::getloadavg(load, 3);
    std::printf("%s, %.2f GiB: median of %d (min - max), caches dropped before each run, load %.2f %.2f %.2f\n",
                qPrintable(title), double(bytes) / (1 << 30), Volume_Rounds, load[0], load[1], load[2]);
    std::printf("  the program wrote first as %s\n", qPrintable(temp));
    for (const Volume_Method& m : methods) {
        const auto [lo, hi] = std::minmax_element(m.seconds.begin(), m.seconds.end());
        std::printf("  %-10s %7.3f s (%.3f - %.3f), blocks shared %5.1f %%, in order:", m.name, Median(m.seconds), *lo,
                    *hi, m.shared < 0 ? -1.0 : 100.0 * double(m.shared) / double(bytes));
        for (double seconds : m.seconds)
            std::printf(" %.3f", seconds);
        std::printf("\n");
    }
    const double program = Median(methods[1].seconds), ratio = program / Median(methods[0].seconds);
    bool met = ran && ratio <= Volume_Ratio_Target;
    std::printf("  ratio program/cat %.3f (target <= %.1f)%s\n", ratio, Volume_Ratio_Target,
                ratio <= Volume_Ratio_Target ? "" : "  MISSED");
    if (underSeconds > 0) {
        met = met && program < underSeconds;
        std::printf("  program %.3f s (target < %.1f s)%s\n", program, underSeconds,
                    program < underSeconds ? "" : "  MISSED");
    }
    std::fflush(stdout);
    return met;
}

// `count` inputs of random data of `size` bytes each in `folder`; empty on failure.
inline QStringList Volume_Inputs(const QString& folder, int count, qint64 size)
{
    QStringList inputs;
    for (int i = 0; i < count; ++i) {
        inputs << QDir(folder).filePath(QStringLiteral("in%1.mpg").arg(i));
        QFile f(inputs.last());
        if (!Write_Random(inputs.last(), size, unsigned(i + 1)) || !f.resize(size))
            return {};
    }
    return inputs;
}

// The rows of one file system type on a volume made under `scratch` (on the root file system).
// 0 when all rows met their targets, 1 when one missed, 2 when the volume could not be used.
inline int Volume_Rows(const QString& type, const QString& scratch)
{
    const QString why = Scratch_Volume::Why_Not(type);
    if (!why.isEmpty()) {
        std::printf("%s rows skipped: %s\n", qPrintable(type), qPrintable(why));
        return 0;
    }
    Clean_Up_On_Ending_Signal(scratch);
    Scratch_Volume volume(scratch + "/" + type + ".img", scratch + "/" + type, type, Volume_Image);
    const QString data = volume.Path() + "/data", appHere = volume.Path() + "/app", appElsewhere = scratch + "/app";
    if (!volume.Mounted() || !QDir().mkpath(data) || !QDir().mkpath(appHere) || !QDir().mkpath(appElsewhere)) {
        std::fprintf(stderr, "could not make the %s volume under %s\n", qPrintable(type), qPrintable(scratch));
        return 2;
    }
    const bool xfs = type == "xfs";
    const double under = xfs ? Xfs_Seconds_Target : 0;
    QStringList inputs = Volume_Inputs(data, 3, Volume_Input);
    if (inputs.isEmpty())
        return 2;
    bool met = Placement_Row("3 x 512 MiB on a " + type + " volume, application folder on the root file system", inputs,
                             data, appElsewhere, true, under);
    met = Placement_Row("the same, application folder on that volume", inputs, data, appHere, false, under) && met;
    if (xfs) {
        for (const QString& p : inputs)
            QFile::remove(p);
        // Sizes no multiple of 4 KiB: the second and third inputs land at unaligned offsets.
        inputs = Volume_Inputs(data, 3, Volume_Input + 1000);
        if (inputs.isEmpty())
            return 2;
        met = Placement_Row("3 x (512 MiB + 1000 bytes) on the xfs volume, application folder on the root file system",
                            inputs, data, appElsewhere, false, 0)
            && met;
    }
    return met ? 0 : 1;
}

}  // namespace pf::bench
