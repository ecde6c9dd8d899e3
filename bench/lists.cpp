// SPDX-License-Identifier: GPL-3.0-or-later
// The list operations that grow with the list: Shufll over 32,767 and 1,000,000 entries against
// std::shuffle, and switching between two groups of 10,000 existing files each against merely
// reading both group files and against one stat of every entry. Prints each figure with its
// target and the ratio to its peers.
#include "bench_inputs.h"
#include "core/finished_list.h"
#include "core/main_state.h"
#include "lists/shuffle.h"
#include "printing_prompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>

#include <sys/stat.h>
#include <time.h>

using namespace pf;
using pf::bench::Make_Files;
using pf::bench::Printing_Prompter;

namespace {

constexpr int Group_Size = 10'000;
constexpr int Rounds = 5;

// The best of a few runs, in milliseconds of `clock`: wall time, or with CLOCK_THREAD_CPUTIME_ID
// the processor time of this thread, which on a busy machine is what the work itself costs apart
// from waiting for the disk and for a core.
template <class F>
double Best_Ms(F run, clockid_t clock = CLOCK_MONOTONIC)
{
    const auto now = [clock] {
        timespec t{};
        ::clock_gettime(clock, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    };
    double best = 1e300;
    for (int i = 0; i < Rounds; ++i) {
        const double start = now();
        run();
        best = std::min(best, now() - start);
    }
    return best;
}

void Shuffle_Row(int n, double targetMs)
{
    Shuffle_Random random;
    std::mt19937_64 peer(std::random_device{}());
    std::vector<int> order(static_cast<size_t>(n));
    const double ours = Best_Ms([&] { order = Shufll(n, random); });
    const double theirs = Best_Ms([&] {
        std::iota(order.begin(), order.end(), 1);
        std::shuffle(order.begin(), order.end(), peer);
    });
    std::printf("Shufll(%d): %.2f ms (target < %.0f ms); std::shuffle %.2f ms; ratio %.1f\n", n, ours, targetMs, theirs,
                ours / theirs);
}

int Group_Row()
{
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/pf_bench_lists_XXXXXX"));
    if (!dir.isValid())
        return 1;
    Main_State state(dir.path());
    Printing_Prompter prompter;
    Finished_List list(state, prompter, List_Id::Favorite);
    const QString one = state.Group_Path(Group_Kind::Favorite, 1);
    const QStringList ones = Make_Files(dir.filePath(QStringLiteral("one")), Group_Size);
    const QStringList zeros = Make_Files(dir.filePath(QStringLiteral("zero")), Group_Size);
    if (!Write_Group(one, ones).Ok())
        return 1;
    list.List().Add_All(zeros);

    int switches = 0;
    const double ours = Best_Ms([&] { switches += list.Switch_Group(1 - list.Group()); });
    const double cpu = Best_Ms([&] { switches += list.Switch_Group(1 - list.Group()); }, CLOCK_THREAD_CPUTIME_ID);
    const QString zero = state.Group_Path(Group_Kind::Favorite, 0);
    qint64 bytes = 0;
    const double peer = Best_Ms([&] {
        for (const QString& file : {zero, one})
            bytes += Read_Regular_File(file, qint64(1) << 30).bytes.size();
    });
    int found = 0;
    const double stats = Best_Ms([&] {
        struct stat st {};
        for (const QStringList* group : {&zeros, &ones})
            for (const QString& path : *group)
                found += ::stat(QFile::encodeName(path).constData(), &st) == 0;
    });
    // The part no list can save: replacing the group left, synced to the disk.
    const double write = Best_Ms([&] { Write_Group(zero, zeros); });
    std::printf("group switch, %d entries each way: %.1f ms (target <= 20 ms); reading both group files "
                "%.2f ms (ratio %.0f); stat of every entry %.2f ms (ratio %.1f); of the switch, writing "
                "the group left (synced) %.1f ms; processor time of the switch %.1f ms\n",
                Group_Size, ours, peer, ours / peer, stats, ours / stats, write, cpu);
    return switches == 2 * Rounds && list.List().Count() == Group_Size && bytes > 0 && found > 0 ? 0 : 1;
}

}  // namespace

int main()
{
    Shuffle_Row(32767, 20);
    Shuffle_Row(1'000'000, 1000);
    return Group_Row();
}
