// Measures the media-control service: the time to open a 2 s clip and a 1 GiB file joined from
// many clips, and their difference (target under 0.3 s); and the process CPU time of playing a
// clip to its end through the service next to `mpv --vo=null --ao=null` on the same clip, and
// their ratio (target at most 1.1). Clips are made by ffmpeg in a temporary folder under /tmp.
#include "playback/mci_service.h"
#include "playback/mpeg_video_device.h"
#include "playback/stream_timeline.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

using namespace pf;

namespace {

constexpr qint64 kJoinedSize = qint64(1) << 30;
constexpr int kRounds = 5;

bool Make_Clip(const QString& path, int seconds, const char* bitrate)
{
    const QString secs = QString::number(seconds);
    return QProcess::execute("ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                        "testsrc=size=320x240:rate=25:duration=" + secs, "-f", "lavfi", "-i",
                                        "sine=frequency=440:sample_rate=44100:duration=" + secs, "-c:v",
                                        "mpeg1video", "-b:v", bitrate, "-g", "12", "-c:a", "mp2", "-f", "mpeg", path})
           == 0;
}

bool Make_Joined(const QString& clip, const QString& path)
{
    QFile in(clip), out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = in.readAll();
    while (out.size() < kJoinedSize)
        if (out.write(bytes) != bytes.size())
            return false;
    return true;
}

double Cpu_Seconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

QString Open_Command(const QString& path) { return "open \"" + path + "\" type MPEGVideo alias bench"; }

// Median wall time of opening `path`, in seconds.
double Open_Time(const QString& path)
{
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer t;
        t.start();
        const std::uint32_t code = Mci_Service::Instance().Send_String(Open_Command(path));
        times.push_back(double(t.nsecsElapsed()) / 1e9);
        Mci_Service::Instance().Send_String(QStringLiteral("close bench"));
        if (code != 0) {
            std::printf("open failed with %u\n", code);
            return -1;
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Register_Mpeg_Driver({"null"});
    QTemporaryDir dir(QDir::tempPath() + "/pf-bench-mci-XXXXXX");
    const QString short_clip = dir.filePath("short 2s.mpg"), long_clip = dir.filePath("long 10s.mpg"),
                  joined = dir.filePath("joined 1GiB.mpg");
    std::printf("making clips in %s ...\n", qPrintable(dir.path()));
    if (!Make_Clip(short_clip, 2, "400k") || !Make_Clip(long_clip, 10, "6M") || !Make_Joined(long_clip, joined)) {
        std::printf("could not make the clips (is ffmpeg installed?)\n");
        return 1;
    }

    const double open_short = Open_Time(short_clip);
    const double open_joined = Open_Time(joined);
    std::printf("open 2 s clip:            %8.3f s\n", open_short);
    std::printf("open 1 GiB joined:        %8.3f s\n", open_joined);
    QElapsedTimer scan;
    scan.start();
    const qsizetype parts = Scan_Stream(joined).parts.size();
    std::printf("  of which finding its %lld parts: %8.3f s\n", qint64(parts), double(scan.nsecsElapsed()) / 1e9);
    std::printf("difference:               %8.3f s   (target < 0.3 s)\n", open_joined - open_short);

    const double ours = Play_Cpu(long_clip);
    const double peer = Mpv_Cpu(long_clip);
    std::printf("CPU, 10 s clip to its end through the service: %6.3f s\n", ours);
    std::printf("CPU, mpv --vo=null --ao=null on the same clip: %6.3f s\n", peer);
    std::printf("ratio:                    %8.3f     (target <= 1.1)\n", peer > 0 ? ours / peer : 0.0);
    return 0;
}
