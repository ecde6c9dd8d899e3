// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the settings file: loading every main-window key and both writes of exit with save
// on files of growing size (foreign sections first, our section last, so each look-up must
// pass every line), next to one plain read of the same bytes; the times must grow with the
// file, not with its square. And a 50 MB file, which is refused by its size before any read.
#include "core/profile.h"
#include "core/settings.h"
#include "util/safe_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace pf;

namespace {

constexpr int Rounds = 5;

QByteArray Settings_Bytes(qint64 size)
{
    QByteArray bytes;
    for (int i = 0; bytes.size() < size - 400; ++i)
        bytes += "[Other" + QByteArray::number(i / 50) + "]\r\nKey" + QByteArray::number(i) + "=some value\r\n";
    return bytes + "[Section]\r\nAdd_Path=/home/u/動画\r\nWay= 1\r\nSkin= 0\r\n";
}

// Median milliseconds of `work`.
template <class F>
double Median_Ms(F work)
{
    double t[Rounds];
    for (double& v : t) {
        QElapsedTimer clock;
        clock.start();
        work();
        v = double(clock.nsecsElapsed()) / 1e6;
    }
    std::sort(t, t + Rounds);
    return t[Rounds / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Parlo_film.ini"));
    std::printf("settings file: load + both exit writes, median of %d\n", Rounds);
    double first = 0;
    for (qint64 size : {Profile_File_Limit / 8, Profile_File_Limit / 4, Profile_File_Limit / 2, Profile_File_Limit}) {
        const QByteArray bytes = Settings_Bytes(size);
        const double plain = Median_Ms([&] {
            QFile f(ini);
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            f.close();
            (void)Read_Regular_File(ini, Profile_File_Limit);
        });
        const double ours = Median_Ms([&] {
            const Settings s = Load_Settings(ini, dir.path());
            Write_Exit_Keys(s, ini);
        });
        first = first == 0 ? ours / double(size) : first;
        std::printf("  %7lld bytes: %7.2f ms (write + read of the bytes %6.2f ms); per byte vs the smallest %.2f\n",
                    static_cast<long long>(size), ours, plain, ours / double(size) / first);
    }
    QFile big(ini);
    big.open(QIODevice::WriteOnly);
    big.resize(qint64(50) << 20);
    big.close();
    const double refused = Median_Ms([&] { (void)Load_Settings(ini, dir.path()); });
    std::printf("  50 MB file refused in %.3f ms (target: well under a second)\n", refused);
    return 0;
}
