// SPDX-License-Identifier: GPL-3.0-or-later
// The inputs the measuring programs build: clips made by ffmpeg, a clip joined to itself, files
// of random bytes and folders of empty clips with mixed-case, unsorted names.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include <unistd.h>

namespace pf::bench {

inline bool Make_Clip(const QString& path, int seconds, const char* bitrate)
{
    const QString secs = QString::number(seconds);
    return QProcess::execute(
               "ffmpeg", {"-nostdin", "-loglevel",  "error", "-y",
                          "-f",       "lavfi",      "-i",    "testsrc=size=320x240:rate=25:duration=" + secs,
                          "-f",       "lavfi",      "-i",    "sine=frequency=440:sample_rate=44100:duration=" + secs,
                          "-c:v",     "mpeg1video", "-b:v",  bitrate,
                          "-g",       "12",         "-c:a",  "mp2",
                          "-f",       "mpeg",       path})
        == 0;
}

// `clip` joined to itself until the file has `size` bytes or `count` parts, whichever is first.
inline bool Make_Joined(const QString& clip, const QString& path, qint64 size, int count = INT_MAX)
{
    QFile in(clip), out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = in.readAll();
    for (int i = 0; i < count && out.size() < size; ++i)
        if (out.write(bytes) != bytes.size())
            return false;
    return true;
}

inline bool Write_Random(const QString& path, qint64 size, unsigned seed)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    std::mt19937_64 rng(seed);
    std::vector<quint64> block(1 << 17);  // 1 MiB
    for (qint64 done = 0; done < size; done += qint64(block.size() * 8)) {
        for (auto& v : block)
            v = rng();
        if (f.write(reinterpret_cast<const char*>(block.data()), qint64(block.size() * 8)) < 0)
            return false;
    }
    return f.flush() && ::fsync(f.handle()) == 0;
}

inline QStringList Make_Files(const QString& folder, int count)
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        // Mixed case and an unsorted order, as real lists have them.
        const int n = (i * 7919) % count;
        paths << folder + QStringLiteral("/%1 Clip %2.mpg").arg(n % 2 ? "a" : "B").arg(n, 5, 10, QLatin1Char('0'));
        QFile f(paths.last());
        if (!f.open(QIODevice::WriteOnly))
            std::exit(1);
    }
    return paths;
}

}  // namespace pf::bench
