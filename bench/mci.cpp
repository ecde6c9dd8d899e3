// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the media-control service: the time to open a 2 s clip and joined files, and their
// differences (target at most 0.3 s): 1 GiB (at most) joined from 10 s clips, 1 GiB joined
// from 5,000 small low-rate parts, 2 GiB joined from 10 s clips, and 4 GiB joined from 4 large
// parts read cold (its pages dropped with posix_fadvise(DONTNEED) before every open); the
// length a client reads first ("status length" straight after open) against the exact one, and
// how long the exact timeline of the large files takes (the whole walk that refines a sampled
// one in the background): up to 1 GiB the first length is the exact one, above it within 1 %;
// the scanner's peak memory on the 4 GiB file (target under 16 MiB), taken from a child
// process that only scans; and the process CPU time of playing a clip to its end through the
// service next to `mpv --vo=null --ao=null` on the same clip, and their ratio (target at most 1.1).
// Clips are made by ffmpeg in a temporary folder under /tmp.
#include "mci/mci_service.h"
#include "mpeg/stream_timeline.h"
#include "playback/mpeg_video_device.h"

#include "bench_inputs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <climits>
#include <functional>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace pf;
using namespace pf::bench;

namespace {

constexpr qint64 Joined_Size = qint64(1) << 30;  // at most, in whole clips
constexpr int Small_Parts = 5000;
constexpr int Large_Parts = 4;
constexpr qint64 Large_Part = qint64(1) << 30;
constexpr int Round_Count = 5;

// One long part of about `size` bytes: the clip remuxed over and over, its clock running on.
bool Make_Long(const QString& clip, qint64 size, const QString& path)
{
    const qint64 loops = size / std::max<qint64>(QFile(clip).size(), 1) + 1;
    return QProcess::execute("ffmpeg",
                             {"-nostdin", "-loglevel", "error", "-y", "-stream_loop", QString::number(loops - 1), "-i",
                              clip, "-c", "copy", "-f", "mpeg", path})
        == 0;
}

// Drops the file's pages from the page cache, so that the next read comes from the disk.
void Drop_Cache(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

double Seconds_Of(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e9;
}

// A line of /proc/self/status, in KiB.
long Status_KiB(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(std::strlen(key))).trimmed().split(' ').first().toLong();
    return 0;
}

// The child of the memory measurement: one whole walk of `path`, nothing else; prints how far
// its peak memory rose above what it had before the walk.
int Child_Scan(const char* path)
{
    const long before = Status_KiB("VmRSS:");
    const bool ok = !Refine_Stream(QString::fromLocal8Bit(path), nullptr).Empty();
    std::printf("%ld\n", Status_KiB("VmHWM:") - before);
    return ok ? 0 : 1;
}

double Cpu_Seconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

QString Open_Command(const QString& path)
{
    return "open \"" + path + "\" type MPEGVideo alias bench";
}

struct Opened {
    double seconds = -1;  // median wall time of the opens
    double length = 0;    // what "status length" said straight after the last, in seconds
};

// Opens `path` a few times; `cold` drops its cached pages before each open.
Opened Open_Time(const QString& path, bool cold = false)
{
    Mci_Service& mci = Mci_Service::Instance();
    std::vector<double> times;
    Opened opened;
    for (int i = 0; i < Round_Count; ++i) {
        if (cold)
            Drop_Cache(path);
        QElapsedTimer t;
        t.start();
        const std::uint32_t code = mci.Send_String(Open_Command(path));
        times.push_back(double(t.nsecsElapsed()) / 1e9);
        QString length;
        mci.Send_String(QStringLiteral("set bench time format ms"));
        mci.Send_String(QStringLiteral("status bench length"), &length, 254);
        opened.length = length.toDouble() / 1000;
        mci.Send_String(QStringLiteral("close bench"));
        if (code != 0) {
            std::printf("open failed with %u\n", code);
            return opened;
        }
    }
    std::sort(times.begin(), times.end());
    opened.seconds = times[times.size() / 2];
    return opened;
}

// Process CPU seconds of opening `path`, playing it to its end and closing it.
double Play_Cpu(const QString& path)
{
    Mci_Service& mci = Mci_Service::Instance();
    const double before = Cpu_Seconds(RUSAGE_SELF);
    mci.Send_String(Open_Command(path));
    mci.Send_String(QStringLiteral("play bench"));
    QString mode;
    do {
        QThread::msleep(100);
        QCoreApplication::processEvents();
        mci.Send_String(QStringLiteral("status bench mode"), &mode, 254);
    } while (mode == QLatin1String("playing"));
    mci.Send_String(QStringLiteral("close bench"));
    return Cpu_Seconds(RUSAGE_SELF) - before;
}

double Mpv_Cpu(const QString& path)
{
    const double before = Cpu_Seconds(RUSAGE_CHILDREN);
    QProcess::execute("mpv", {"--no-config", "--really-quiet", "--vo=null", "--ao=null", path});
    return Cpu_Seconds(RUSAGE_CHILDREN) - before;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--scan") == 0)
        return Child_Scan(argv[2]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Register_Mpeg_Driver({"null"});
    QTemporaryDir dir(QDir::tempPath() + "/pf-bench-mci-XXXXXX");
    const QString shortClip = dir.filePath("short 2s.mpg"), longClip = dir.filePath("long 10s.mpg"),
                  joined = dir.filePath("joined 1GiB.mpg"), smallClip = dir.filePath("small 2s.mpg"),
                  smallJoined = dir.filePath("joined 5000.mpg"), minute = dir.filePath("minute.mpg"),
                  joined2 = dir.filePath("joined 2GiB.mpg"), largePart = dir.filePath("large part.mpg"),
                  largeJoined = dir.filePath("joined 4x1GiB.mpg");
    std::printf("making clips in %s ...\n", qPrintable(dir.path()));
    if (!Make_Clip(shortClip, 2, "400k") || !Make_Clip(longClip, 10, "6M")
        || !Make_Joined(longClip, joined, Joined_Size) || !Make_Joined(longClip, joined2, 2 * Joined_Size)
        || !Make_Clip(smallClip, 2, "800k") || !Make_Joined(smallClip, smallJoined, LLONG_MAX, Small_Parts)
        || !Make_Clip(minute, 60, "8M") || !Make_Long(minute, Large_Part, largePart)
        || !Make_Joined(largePart, largeJoined, LLONG_MAX, Large_Parts)) {
        std::printf("could not make the clips (is ffmpeg installed?)\n");
        return 1;
    }
    QFile::remove(minute);

    const double openShort = Open_Time(shortClip).seconds;
    std::printf("open 2 s clip:                                %8.3f s\n", openShort);
    const struct {
        const char* what;
        QString path;
        bool cold;
    } rows[] = {{"1 GiB joined from 10 s clips", joined, false},
                {"1 GiB joined from 5,000 small parts", smallJoined, false},
                {"2 GiB joined from 10 s clips", joined2, false},
                {"4 GiB joined from 4 large parts, cold", largeJoined, true}};
    for (const auto& row : rows) {
        const Opened open = Open_Time(row.path, row.cold);
        if (row.cold)
            Drop_Cache(row.path);
        Stream_Timeline quick;
        const double scan = Seconds_Of([&] { quick = Scan_Stream(row.path); });
        if (row.cold)
            Drop_Cache(row.path);
        Stream_Timeline exact = quick;
        const double walk = quick.exact ? 0.0 : Seconds_Of([&] { exact = Refine_Stream(row.path, nullptr); });
        std::printf("open %-40s %8.3f s, difference %6.3f s  (target <= 0.3 s)\n", row.what, open.seconds,
                    open.seconds - openShort);
        std::printf("  its timeline at open: %s, %lld parts, %.1f s, found in %.3f s\n",
                    quick.exact ? "exact" : "sampled", qint64(quick.parts.size()), quick.Total(), scan);
        if (!quick.exact)
            std::printf("  exact timeline (whole walk, in the background): %lld parts, %.1f s, after %.3f s\n",
                        qint64(exact.parts.size()), exact.Total(), walk);
        const double off = exact.Total() > 0 ? (open.length - exact.Total()) / exact.Total() * 100 : 0.0;
        std::printf("  first \"status length\": %.3f s, exact %.3f s, off by %+.3f %%  (target: 0 up to 1 GiB, "
                    "within 1 %% above)\n",
                    open.length, exact.Total(), off);
    }
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--scan", largeJoined});
    child.waitForFinished(-1);
    std::printf("peak memory of the whole walk of the 4 GiB file: %6.1f MiB  (target < 16 MiB)\n",
                double(child.readAllStandardOutput().trimmed().toLong()) / 1024);

    const double ours = Play_Cpu(longClip);
    const double peer = Mpv_Cpu(longClip);
    std::printf("CPU, 10 s clip to its end through the service: %6.3f s\n", ours);
    std::printf("CPU, mpv --vo=null --ao=null on the same clip: %6.3f s\n", peer);
    std::printf("ratio:                    %8.3f     (target <= 1.1)\n", peer > 0 ? ours / peer : 0.0);
    return 0;
}
