// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the join's copy engine against `cat` on the same inputs in one run: three 128 MiB
// inputs, then four 1 GiB inputs of real (random, not sparse) data. Every run ends with the
// output synced to disk (the engine syncs its output before closing it; cat gets the same fsync), the
// order of the methods changes from round to round, and the page cache of every file is dropped
// before each run, so no method inherits the previous one's warm cache. Each figure is printed as
// the median of the rounds with its spread. Last, the peak memory of one 4 GiB join in a child
// process that does nothing else (target under 32 MiB). Files live in a temporary folder under
// /var/tmp (a disk, not a memory file system) and are removed afterwards.
// `join stamps` measures the join with continuous timestamps instead: four 1 GiB MPEG inputs (an
// ffmpeg clip joined to itself, so every input has seams of its own) against `cat` (target at
// most 1.1 times), its peak memory, and the check of 100 inputs for unlike kinds, warm (target
// at most 0.2 s), against reading as many bytes of each with read().
// `join volumes` (as root) measures the program's join where inputs, output and application
// folder live on different volumes: join_volumes.h says how.
#include "join/file_copy.h"
#include "mpeg/stamped_join.h"
#include "mpeg/stream_params.h"
#include "util/safe_file.h"

#include "bench_inputs.h"
#include "join_timing.h"
#include "join_volumes.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace pf;
using namespace pf::bench;

namespace {

constexpr int Rounds = 5;

void Drop_Cache(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

struct Method {
    const char* name;
    std::function<bool(const QStringList& inputs, const QString& out)> run;
    std::vector<double> seconds;
};

bool Engine(const QStringList& inputs, const QString& out, Copy_Method m)
{
    const Copy_Outcome r = Concatenate(inputs, out, nullptr, m);
    if (!r.Ok())
        std::fprintf(stderr, "engine failed: %s\n", qPrintable(Copy_Failure_Text(r)));
    return r.Ok();
}

// The join with continuous timestamps, written and synced as the engine does.
bool Stamped(const QStringList& inputs, const QString& out)
{
    const int fd = ::open(QFile::encodeName(out).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const Rewrite_Outcome r = Rewrite_Files(inputs, [fd](const unsigned char* p, qint64 n) {
        for (qint64 done = 0; done < n;) {
            const ssize_t w = ::write(fd, p + done, size_t(n - done));
            if (w < 0 && errno != EINTR)
                return false;
            done += std::max<ssize_t>(w, 0);
        }
        return true;
    });
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return r.ok && synced;
}

// Times every method `Rounds` times, rotating which one goes first; prints median and spread.
void Time_Rounds(const QString& title, std::vector<Method>& methods, const QStringList& inputs, const QString& out,
                 qint64 bytes)
{
    for (int round = 0; round < Rounds; ++round) {
        for (size_t k = 0; k < methods.size(); ++k) {
            Method& m = methods[(k + size_t(round)) % methods.size()];
            for (const QString& p : inputs)
                Drop_Cache(p);
            ::sync();
            QElapsedTimer t;
            t.start();
            const bool ok = m.run(inputs, out);
            m.seconds.push_back(double(t.nsecsElapsed()) / 1e9);
            if (!ok || QFile(out).size() != bytes)
                std::fprintf(stderr, "%s produced a wrong output\n", m.name);
            QFile::remove(out);
        }
    }
    const double mib = double(bytes) / (1 << 20);
    std::printf("%s: median of %d rounds (min - max), output synced, caches dropped before each run\n",
                qPrintable(title), Rounds);
    for (const Method& m : methods) {
        const auto [lo, hi] = std::minmax_element(m.seconds.begin(), m.seconds.end());
        const double med = Median(m.seconds);
        std::printf("  %-18s %7.3f s (%.3f - %.3f)  %6.0f MiB/s\n", m.name, med, *lo, *hi, mib / med);
    }
}

void Compare(const QString& title, const QStringList& inputs, const QString& out, qint64 bytes)
{
    std::vector<Method> methods{
        {"cat", Cat, {}},
        {"engine (kernel)",
         [](const QStringList& in, const QString& o) { return Engine(in, o, Copy_Method::Kernel); },
         {}},
        {"engine (buffered)",
         [](const QStringList& in, const QString& o) { return Engine(in, o, Copy_Method::Buffered); },
         {}},
    };
    Time_Rounds(title, methods, inputs, out, bytes);
    const double cat = Median(methods[0].seconds);
    const double kernel = Median(methods[1].seconds), buffered = Median(methods[2].seconds);
    const bool kernelPreferred = Preferred_Copy_Method() == Copy_Method::Kernel;
    std::printf("  faster engine method here: %s; the engine prefers: %s\n", kernel <= buffered ? "kernel" : "buffered",
                kernelPreferred ? "kernel" : "buffered");
    std::printf("  ratio engine/cat   %7.3f  (target <= 1.05)\n", (kernelPreferred ? kernel : buffered) / cat);
}

// The child of the memory measurement: one join, nothing else.
int Child_Join(const char* method, int argc, char** argv)
{
    const Copy_Method m = std::strcmp(method, "kernel") == 0 ? Copy_Method::Kernel : Copy_Method::Buffered;
    QStringList inputs;
    for (int i = 0; i < argc - 1; ++i)
        inputs << QString::fromLocal8Bit(argv[i]);
    const QString out = QString::fromLocal8Bit(argv[argc - 1]);
    if (std::strcmp(method, "stamps") == 0)
        return Stamped(inputs, out) ? 0 : 1;
    return Concatenate(inputs, out, nullptr, m).Ok() ? 0 : 1;
}

QStringList Make_Inputs(const QTemporaryDir& dir, const char* stem, int count, qint64 size)
{
    QStringList inputs;
    for (int i = 0; i < count; ++i) {
        inputs << dir.filePath(QStringLiteral("%1%2.mpg").arg(QLatin1String(stem)).arg(i));
        if (!Write_Random(inputs.last(), size, unsigned(i + 1)))
            return {};
    }
    return inputs;
}

// Peak memory of one join of `inputs` by `method` in a child process of its own.
void Child_Memory(const char* method, const QStringList& inputs, const QString& out)
{
    std::vector<QByteArray> args{"/proc/self/exe", "--child", method};
    for (const QString& p : inputs)
        args.push_back(QFile::encodeName(p));
    args.push_back(QFile::encodeName(out));
    long rss = 0;
    const bool ok = Run_Child(args, {}, &rss);
    std::printf("  %-9s %s, peak memory %5.1f MiB\n", method, ok ? "joined" : "FAILED", double(rss) / 1024);
    QFile::remove(out);
}

// Median seconds of `run` over Rounds, after one run to warm the cache.
double Warm_Median(const std::function<void()>& run)
{
    run();
    std::vector<double> seconds;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        seconds.push_back(double(t.nsecsElapsed()) / 1e9);
    }
    return Median(seconds);
}

// The check of 100 inputs for unlike kinds, against reading the bytes it may read of each.
void Preflight(const QTemporaryDir& dir, const QString& clip)
{
    const QByteArray head = Read_Regular_File(clip, qint64(1) << 30).bytes.left(2 << 20);
    QStringList inputs;
    for (int i = 0; i < 100; ++i) {
        inputs << dir.filePath(QStringLiteral("check%1.mpg").arg(i));
        QFile f(inputs.last());
        if (!f.open(QIODevice::WriteOnly) || f.write(head) != head.size())
            return;
    }
    bool alike = true;
    const double check = Warm_Median([&] { alike = !Find_Unlike_Input(inputs); });
    std::vector<char> buf(Detect_Bytes + Param_Bytes);
    const double read = Warm_Median([&] {
        for (const QString& p : inputs) {
            const int fd = ::open(QFile::encodeName(p).constData(), O_RDONLY | O_CLOEXEC);
            const ssize_t n = ::read(fd, buf.data(), buf.size());
            ::close(fd);
            alike = alike && n > 0;
        }
    });
    std::printf("check of 100 inputs for unlike kinds, warm, median of %d: %.4f s (%s), reading %lld KiB of each: "
                "%.4f s, ratio %.2f (target <= 0.2 s)\n",
                Rounds, check, alike ? "alike" : "WRONG", (Detect_Bytes + Param_Bytes) / 1024, read, check / read);
}

int Stamps(const QTemporaryDir& dir, const QString& out)
{
    const qint64 large = qint64(1) << 30;
    const QString clip = dir.filePath(QStringLiteral("clip.mpg"));
    if (!Make_Clip(clip, 10, "8M"))
        return 1;
    QStringList inputs;
    qint64 bytes = 0;
    for (int i = 0; i < 4; ++i) {
        inputs << dir.filePath(QStringLiteral("stamps%1.mpg").arg(i));
        if (!Make_Joined(clip, inputs.last(), large))
            return 1;
        bytes += QFileInfo(inputs.last()).size();
    }
    std::vector<Method> methods{{"cat", Cat, {}}, {"stamps", Stamped, {}}};
    Time_Rounds(QStringLiteral("join of 4 x 1 GiB of MPEG with continuous timestamps"), methods, inputs, out, bytes);
    std::printf("  ratio stamps/cat   %7.3f  (target <= 1.1)\n",
                Median(methods[1].seconds) / Median(methods[0].seconds));
    std::printf("4 GiB join with continuous timestamps in a child of its own (target < 32 MiB)\n");
    Child_Memory("stamps", inputs, out);
    for (const QString& p : inputs)
        QFile::remove(p);
    Preflight(dir, clip);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 5 && std::strcmp(argv[1], "--child") == 0)
        return Child_Join(argv[2], argc - 3, argv + 3);

    QTemporaryDir dir(QStringLiteral("/var/tmp/pf_bench_join_XXXXXX"));
    if (!dir.isValid())
        return 1;
    if (argc >= 2 && std::strcmp(argv[1], "volumes") == 0) {
        // The joins of the program run their steps on workers and end through the event loop.
        QCoreApplication app(argc, argv);
        const int ext4 = Volume_Rows(QStringLiteral("ext4"), dir.path());
        return std::max(ext4, Volume_Rows(QStringLiteral("xfs"), dir.path()));
    }
    const QString out = dir.filePath(QStringLiteral("out.mpg"));
    if (argc >= 2 && std::strcmp(argv[1], "stamps") == 0)
        return Stamps(dir, out);

    const qint64 small = qint64(128) << 20;
    QStringList inputs = Make_Inputs(dir, "small", 3, small);
    if (inputs.isEmpty())
        return 1;
    Compare(QStringLiteral("join of 3 x 128 MiB"), inputs, out, 3 * small);
    for (const QString& p : inputs)
        QFile::remove(p);

    const qint64 large = qint64(1) << 30;
    inputs = Make_Inputs(dir, "large", 4, large);
    if (inputs.isEmpty())
        return 1;
    Compare(QStringLiteral("join of 4 x 1 GiB"), inputs, out, 4 * large);

    std::printf("4 GiB join, each method in a child of its own: peak memory (target < 32 MiB)\n");
    for (const char* method : {"kernel", "buffered"})
        Child_Memory(method, inputs, out);
    return 0;
}
