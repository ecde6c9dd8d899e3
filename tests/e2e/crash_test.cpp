// SPDX-License-Identifier: GPL-3.0-or-later
// Crash safety: the real commands (through the driver, tests/e2e/crash_driver.cpp) killed with
// SIGKILL at random moments spread over their measured duration, a hundred times each. After
// every kill each settings and group file is the old or the new version, never partial or
// missing; no input of a join is lost; and the next start (the next run's) is a normal one.
#include "support/temp_dir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <random>
#include <thread>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace pf::e2e {

namespace {

constexpr int Kills = 100;
constexpr int Record = 255;

// A file's bytes, or nothing when there is no file.
using Files = QMap<QString, std::optional<QByteArray>>;

class Driver {
public:
    Driver(const QStringList& args, const QString& home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/xdg"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(PF_CRASH_DRIVER), args);
    }

    // The next line of the driver's, once it has written it; empty when it ended first.
    QString Line()
    {
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(30000))
                return {};
        return QString::fromUtf8(process_.readLine()).trimmed();
    }

    // The kill moment: `delay` after the command began (this is the schedule, not a wait).
    void Kill_After(std::chrono::microseconds delay)
    {
        std::this_thread::sleep_for(delay);
        ::kill(pid_t(process_.processId()), SIGKILL);
    }

    // Waits for the end; true when the driver ended by itself with status 0.
    bool Finish()
    {
        process_.waitForFinished(60000);
        return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }

    // After the end: whether the command had ended ("done" written) before.
    bool Was_Done() { return process_.readAllStandardOutput().contains("done"); }

private:
    QProcess process_;
};

class Crash : public ::testing::Test {
protected:
    Crash() : app_(dir_.Mkdir(QStringLiteral("app"))), data_(dir_.Mkdir(QStringLiteral("xdg")))
    {
        QFile(dir_.Mkdir(QStringLiteral("run"))).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const unsigned seed = std::random_device{}();
        random_.seed(seed);
        std::printf("kill times drawn with seed %u\n", seed);
    }

    // Starts the driver with `args` after the folder; checks that the start was normal, with
    // lists as long as the current group files say; returns it at the start of its command.
    std::unique_ptr<Driver> Start(const QStringList& args)
    {
        auto d = std::make_unique<Driver>(QStringList{app_} + args, dir_.Path());
        const QString expected = QStringLiteral("started %1 %2")
                                     .arg(Records_In(QStringLiteral("Parlo_film00.rdm")))
                                     .arg(Records_In(QStringLiteral("Favorite00.rdm")));
        EXPECT_EQ(d->Line().toStdString(), expected.toStdString());
        EXPECT_EQ(d->Line().toStdString(), "op");
        return d;
    }

    // Runs the command of each of `runs` to its end; the median time from its start to its end.
    std::chrono::microseconds Duration(const QList<QStringList>& runs, const std::function<void()>& reset = {})
    {
        QList<qint64> times;
        for (const QStringList& args : runs) {
            auto d = Start(args);
            QElapsedTimer clock;
            clock.start();
            EXPECT_EQ(d->Line().toStdString(), "done");
            times << clock.nsecsElapsed() / 1000;
            EXPECT_TRUE(d->Finish());
            if (reset)
                reset();
        }
        std::sort(times.begin(), times.end());
        std::printf("command takes %.1f ms\n", double(times.at(times.size() / 2)) / 1000);
        return std::chrono::microseconds(times.at(times.size() / 2));
    }

    // Starts `args`, kills it at a random moment of `duration`; true when the command had not
    // ended by then.
    bool Kill_Inside(const QStringList& args, std::chrono::microseconds duration)
    {
        auto d = Start(args);
        std::uniform_int_distribution<qint64> moment(0, duration.count());
        d->Kill_After(std::chrono::microseconds(moment(random_)));
        d->Finish();
        return !d->Was_Done();
    }

    int Records_In(const QString& name) const { return int(QFileInfo(App_File(name)).size() / Record); }

    QString App_File(const QString& name) const { return app_ + u'/' + name; }

    Files Snapshot(const QStringList& names) const
    {
        Files files;
        for (const QString& name : names)
            files[name]
                = QFileInfo(App_File(name)).isFile() ? std::optional(test::Read_All(App_File(name))) : std::nullopt;
        return files;
    }

    // Kills `op` (with version A and B in turn) a hundred times; `names` must each be the old
    // or the new version afterwards.
    void Versions_Survive(const QString& op, const QStringList& names)
    {
        const QString entry = dir_.Write(QStringLiteral("clips/entry.mpg"), "entry");
        const auto args = [&](const char* version) { return QStringList{op, QLatin1String(version), entry}; };
        const std::chrono::microseconds duration = Duration({args("B"), args("A"), args("B")});
        Files version[2];
        version[0] = Snapshot(names);  // B, the last run
        Duration({args("A")});
        version[1] = Snapshot(names);
        int killed = 0, mixed = 0;
        for (int i = 0; i < Kills; ++i) {
            const int next = i % 2 == 0 ? 0 : 1;  // B then A, each the other of what is there
            const Files before = Snapshot(names);
            killed += Kill_Inside(args(next == 0 ? "B" : "A"), duration);
            const Files after = Snapshot(names);
            int changed = 0;
            for (const QString& name : names) {
                EXPECT_TRUE(after[name] == before[name] || after[name] == version[next][name])
                    << name.toStdString() << " after kill " << i;
                changed += after[name] != before[name];
            }
            mixed += changed > 0 && changed < int(names.size());
        }
        std::printf("%d of %d kills inside the command, %d left the files partly old, partly new\n", killed, Kills,
                    mixed);
        EXPECT_TRUE(Start({op, QStringLiteral("A"), entry})->Finish());  // the next start is normal
        EXPECT_GT(killed, Kills / 4);
    }

    test::Temp_Dir dir_;
    QString app_, data_;  // the application folder, $XDG_DATA_HOME
    std::mt19937 random_;
};

}  // namespace

TEST_F(Crash, Exit_And_Save)
{
    Versions_Survive(
        QStringLiteral("save"),
        {QStringLiteral("Parlo_film.ini"), QStringLiteral("Parlo_film00.rdm"), QStringLiteral("Favorite00.rdm")});
}

TEST_F(Crash, Group_Switch)
{
    // The group entered is only read.
    const QString kept = dir_.Write(QStringLiteral("app/Parlo_film01.rdm"),
                                    (dir_.Write(QStringLiteral("clips/kept.mpg"), "k").toUtf8()).leftJustified(Record));
    const QByteArray bytes = test::Read_All(kept);
    Versions_Survive(QStringLiteral("switch"), {QStringLiteral("Parlo_film00.rdm")});
    EXPECT_EQ(test::Read_All(kept), bytes);
}

TEST_F(Crash, Join)
{
    // Inputs are links to masters, so that each run gets them back without copying.
    constexpr qint64 Size = 4 << 20;
    QStringList masters, inputs;
    QByteArray whole;
    for (char c : {'a', 'b', 'c'}) {
        QByteArray bytes(Size, c);
        bytes[0] = 0;
        masters << dir_.Write(QStringLiteral("masters/%1.mpg").arg(c), bytes);
        inputs << dir_.File(QStringLiteral("in/%1.mpg").arg(c));
        whole += bytes;
    }
    const QString out = dir_.Mkdir(QStringLiteral("out"));
    const QString trash = data_ + QStringLiteral("/Trash");
    const auto reset = [&] {
        QDir().mkpath(dir_.File(QStringLiteral("in")));
        for (qsizetype k = 0; k < inputs.size(); ++k)
            if (!QFileInfo::exists(inputs.at(k)))
                ::link(QFile::encodeName(masters.at(k)).constData(), QFile::encodeName(inputs.at(k)).constData());
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        QDir(trash).removeRecursively();
    };
    const auto args = [&](int inlist) {
        return QStringList{QStringLiteral("join"), QString::number(inlist), out} + inputs;
    };
    reset();
    const std::chrono::microseconds duration = Duration({args(2), args(3), args(2)}, reset);

    int killed = 0, gone = 0;
    for (int i = 0; i < Kills; ++i) {
        const int inlist = 2 + i % 2;
        killed += Kill_Inside(args(inlist), duration);
        // Whatever carries a final name is the whole join.
        const QStringList outputs = QDir(out).entryList(QDir::Files);
        for (const QString& name : outputs)
            EXPECT_TRUE(test::Read_All(out + u'/' + name) == whole) << name.toStdString() << " after kill " << i;
        for (qsizetype k = 0; k < inputs.size(); ++k) {
            if (QFileInfo(inputs.at(k)).size() == Size)
                continue;
            // Gone only once the output was whole; to the trash with Inlist 3.
            ++gone;
            EXPECT_EQ(outputs.size(), 1) << "input " << k << " lost after kill " << i;
            if (inlist == 3) {
                EXPECT_EQ(QFileInfo(trash + QStringLiteral("/files/") + QFileInfo(inputs.at(k)).fileName()).size(),
                          Size);
            }
        }
        reset();
    }
    std::printf("%d of %d kills inside the join, %d inputs deleted or trashed by then\n", killed, Kills, gone);
    EXPECT_TRUE(Start(args(2))->Finish());
    EXPECT_GT(killed, Kills / 4);
}

}  // namespace pf::e2e
