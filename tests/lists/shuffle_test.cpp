// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/shuffle.h"

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

using namespace pf;

namespace {

// The selection rule as written: walk the positions, counting free ones, up to the r-th.
std::vector<int> Walk_Rule(const std::vector<double>& draws)
{
    const int n = int(draws.size());
    std::vector<bool> taken(size_t(n) + 1);
    std::vector<int> order;
    for (int remaining = n; remaining > 0; --remaining)
        for (int j = 1, r = int(draws[order.size()] * remaining) + 1; j <= n; ++j)
            if (!taken[size_t(j)] && --r == 0) {
                taken[size_t(j)] = true;
                order.push_back(j);
                break;
            }
    return order;
}

std::vector<int> Shufll_Over(const std::vector<double>& draws)
{
    size_t k = 0;
    return Shufll(int(draws.size()), [&] { return draws.at(k++); });
}

}  // namespace

TEST(Shufll, Picks_The_R_Th_Free_Position)
{
    EXPECT_EQ(Shufll_Over({0.999}), std::vector<int>{1});
    EXPECT_EQ(Shufll_Over({0.5, 0.0, 0.99, 0.0}), (std::vector<int>{3, 1, 4, 2}));
    EXPECT_EQ(Shufll_Over({}), std::vector<int>{});
    Shuffle_Random random;
    std::vector<double> draws(3000);
    for (double& u : draws)
        u = random.Draw();
    EXPECT_EQ(Shufll_Over(draws), Walk_Rule(draws));
    // Beyond 16 bits: each of 1 to n once.
    std::vector<int> order = Shufll(70000, random);
    std::sort(order.begin(), order.end());
    EXPECT_TRUE(order.front() == 1 && order.back() == 70000);
    EXPECT_EQ(std::adjacent_find(order.begin(), order.end()), order.end());
}

TEST(Shufll, Every_Permutation_Of_Three_Is_Equally_Likely_Even_Within_One_Clock_Tick)
{
    Shuffle_Random live;
    // A clock that never moves: re-seeding from it alone would repeat one order for ever.
    Shuffle_Random frozen([] { return std::uint64_t(42); });
    for (Shuffle_Random* random : {&live, &frozen}) {
        std::map<std::vector<int>, int> seen;
        for (int i = 0; i < 6000; ++i)
            ++seen[Shufll(3, *random)];
        ASSERT_EQ(seen.size(), 6u);
        double chi = 0;
        for (const auto& [order, count] : seen)
            chi += (count - 1000.0) * (count - 1000.0) / 1000.0;
        EXPECT_LT(chi, 30.0);  // beyond the 0.99998 quantile of chi-square with 5 degrees of freedom
    }
}
