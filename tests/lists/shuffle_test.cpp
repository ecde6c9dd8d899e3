#include "lists/shuffle.h"

#include <QList>

#include <algorithm>
#include <map>
#include <numeric>

#include <gtest/gtest.h>

using namespace pf;

namespace {

// The selection rule as written: walk the positions, counting free ones, up to the r-th.
std::vector<int> Walk_Rule(int n, const std::vector<double>& draws)
{
    std::vector<bool> taken(size_t(n) + 1);
    std::vector<int> order;
    for (int remaining = n, k = 0; remaining > 0; --remaining, ++k) {
        int r = int(draws[size_t(k)] * remaining) + 1;
        for (int j = 1; j <= n; ++j)
            if (!taken[size_t(j)] && --r == 0) {
                taken[size_t(j)] = true;
                order.push_back(j);
                break;
            }
    }
    return order;
}

std::function<double()> Script(std::vector<double> draws)
{
    return [draws = std::move(draws), k = size_t(0)]() mutable { return draws.at(k++); };
}

// Chi-square of how often each permutation of three came up.
double Chi_Square_Of_Threes(Shuffle_Random& random, int runs)
{
    std::map<std::vector<int>, int> seen;
    for (int i = 0; i < runs; ++i)
        ++seen[Shufll(3, random)];
    EXPECT_EQ(seen.size(), 6u);
    const double expected = runs / 6.0;
    double chi = 0;
    for (const auto& [order, count] : seen)
        chi += (count - expected) * (count - expected) / expected;
    return chi;
}

}  // namespace

TEST(Shufll, Picks_The_R_Th_Free_Position)
{
    const struct {
        int n;
        std::vector<double> draws;
        std::vector<int> want;
    } cases[] = {
        {1, {0.999}, {1}},
        {4, {0.5, 0.0, 0.99, 0.0}, {3, 1, 4, 2}},
        {5, {0.99, 0.99, 0.99, 0.99, 0.0}, {5, 4, 3, 2, 1}},
        {5, {0.0, 0.0, 0.0, 0.0, 0.0}, {1, 2, 3, 4, 5}},
        {0, {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shufll(c.n, Script(c.draws)), c.want) << c.n;

    // The same positions as the walk would pick, for a long run of real draws.
    Shuffle_Random random;
    std::vector<double> draws(3000);
    std::generate(draws.begin(), draws.end(), [&] { return random.Draw(); });
    EXPECT_EQ(Shufll(3000, Script(draws)), Walk_Rule(3000, draws));

    // Beyond 16 bits: still a permutation of 1 to n.
    std::vector<int> order = Shufll(70000, random);
    std::sort(order.begin(), order.end());
    std::vector<int> all(70000);
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(order, all);
}

TEST(Shufll, Every_Permutation_Of_Three_Is_Equally_Likely_Even_Within_One_Clock_Tick)
{
    // 30 is beyond the 0.99998 quantile of chi-square with 5 degrees of freedom.
    Shuffle_Random live;
    EXPECT_LT(Chi_Square_Of_Threes(live, 6000), 30.0);
    // A clock that never moves: re-seeding from it alone would repeat one order for ever.
    Shuffle_Random frozen([] { return std::uint64_t(42); });
    EXPECT_LT(Chi_Square_Of_Threes(frozen, 6000), 30.0);
}
