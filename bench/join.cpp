// Measures the join's copy engine against `cat` on the same inputs in one run (wall times and
// their ratio; target at most 1.05), both copy methods of the engine, and the engine's peak
// memory while it joins a 4 GiB input (target under 32 MiB), taken from a child process that
// does nothing else. Files live in a temporary folder under /tmp and are removed afterwards.
#include "join/file_copy.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pf;

namespace {

constexpr int Input_Count = 3;
constexpr qint64 Input_Size = qint64(128) << 20;
constexpr qint64 Big_Size = qint64(4) << 30;
constexpr int Rounds = 3;

bool Write_Random(const QString& path, qint64 size, unsigned seed)
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
    return true;
}

// Runs `argv` with stdout to `out` (when given) and waits; the child's wall time in seconds.
double Run_Child(const std::vector<QByteArray>& argv, const QString& out, long* maxRssKiB = nullptr)
{
    QElapsedTimer t;
    t.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!out.isEmpty()) {
            const int fd = ::open(QFile::encodeName(out).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, 1);
        }
        std::vector<char*> args;
        for (const QByteArray& a : argv)
            args.push_back(const_cast<char*>(a.constData()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    if (maxRssKiB)
        *maxRssKiB = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "child %s failed\n", argv[0].constData());
    return double(t.nsecsElapsed()) / 1e9;
}

double Time_Engine(const QStringList& inputs, const QString& out, Copy_Method method)
{
    QElapsedTimer t;
    t.start();
    const Copy_Outcome r = Concatenate(inputs, out, nullptr, method);
    const double s = double(t.nsecsElapsed()) / 1e9;
    if (!r.ok())
        std::fprintf(stderr, "engine failed: %s\n", qPrintable(Copy_Failure_Text(r)));
    return s;
}

// The child of the memory measurement: one join, nothing else.
int Child_Join(const char* method, const char* in, const char* out)
{
    const Copy_Method m = std::strcmp(method, "kernel") == 0 ? Copy_Method::Kernel : Copy_Method::Buffered;
    return Concatenate({QString::fromLocal8Bit(in)}, QString::fromLocal8Bit(out), nullptr, m).ok() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0)
        return Child_Join(argv[2], argv[3], argv[4]);

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/pf_bench_join_XXXXXX"));
    if (!dir.isValid())
        return 1;
    QStringList inputs;
    std::vector<QByteArray> catArgs{"cat"};
    for (int i = 0; i < Input_Count; ++i) {
        inputs.append(dir.filePath(QStringLiteral("in%1.mpg").arg(i)));
        if (!Write_Random(inputs.last(), Input_Size, unsigned(i + 1)))
            return 1;
        catArgs.push_back(QFile::encodeName(inputs.last()));
    }
    const QString out = dir.filePath(QStringLiteral("out.mpg"));
    Run_Child(catArgs, QStringLiteral("/dev/null"));  // warm the page cache for both

    double cat = 1e9, kernel = 1e9, buffered = 1e9;
    for (int round = 0; round < Rounds; ++round) {
        cat = std::min(cat, Run_Child(catArgs, out));
        QFile::remove(out);
        kernel = std::min(kernel, Time_Engine(inputs, out, Copy_Method::Kernel));
        QFile::remove(out);
        buffered = std::min(buffered, Time_Engine(inputs, out, Copy_Method::Buffered));
        QFile::remove(out);
    }
    const double engine = Preferred_Copy_Method() == Copy_Method::Kernel ? kernel : buffered;
    const double mib = double(Input_Count * Input_Size) / (1 << 20);
    std::printf("join of %d x %lld MiB, best of %d\n", Input_Count, Input_Size >> 20, Rounds);
    std::printf("  cat                %8.3f s  %7.0f MiB/s\n", cat, mib / cat);
    std::printf("  engine (kernel)    %8.3f s  %7.0f MiB/s\n", kernel, mib / kernel);
    std::printf("  engine (buffered)  %8.3f s  %7.0f MiB/s\n", buffered, mib / buffered);
    std::printf("  preferred: %s\n", Preferred_Copy_Method() == Copy_Method::Kernel ? "kernel" : "buffered");
    std::printf("  ratio engine/cat   %8.3f  (target <= 1.05)\n", engine / cat);

    for (const QString& p : inputs)
        QFile::remove(p);
    // A sparse 4 GiB input: quick to make, and every byte of it still goes through the engine.
    const QString big = dir.filePath(QStringLiteral("big.mpg"));
    if (::truncate(QFile::encodeName(big).constData(), 0) != 0) {
        QFile f(big);
        f.open(QIODevice::WriteOnly);
    }
    if (::truncate(QFile::encodeName(big).constData(), Big_Size) != 0)
        return 1;
    std::printf("4 GiB join, each method in a child of its own\n");
    for (const char* method : {"kernel", "buffered"}) {
        long rss = 0;
        const double t = Run_Child({"/proc/self/exe", "--child", method, QFile::encodeName(big), QFile::encodeName(out)},
                                   {}, &rss);
        std::printf("  %-9s %6.2f s, output %lld bytes, peak memory %5.1f MiB  (target < 32 MiB)\n", method, t,
                    qint64(QFile(out).size()), double(rss) / 1024);
        QFile::remove(out);
    }
    return 0;
}
