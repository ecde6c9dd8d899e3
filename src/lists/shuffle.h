// SPDX-License-Identifier: GPL-3.0-or-later
// The random order of continuous play: Shufll picks, for each place of the order, one of the
// positions not yet placed (the r-th free one, r from one uniform draw in [0, 1)), so every
// permutation is equally likely. Shuffle_Random makes the draws: a xoshiro256** generator
// seeded once from the system, with the clock mixed into its state before every draw (mixed,
// never restarted from the clock: two draws in one clock tick still differ).
// Each Shuffle_Random is used by one thread; callers own their instance.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace pf {

class Shuffle_Random {
public:
    using Clock = std::function<std::uint64_t()>;

    // Seeded from the system's random source; `clock` (nanoseconds of a steady clock when none
    // is given) is read before each draw.
    explicit Shuffle_Random(Clock clock = {});

    // One uniform value in [0, 1) with 53 random bits.
    double Draw();

private:
    std::uint64_t Next();

    Clock clock_;
    std::array<std::uint64_t, 4> s_{};
};

// The order of a random run over n entries: element i is the 1-based list position of the
// (i+1)-th file to play. Empty for n below 1. O(n log n).
std::vector<int> Shufll(int n, const std::function<double()>& draw);
std::vector<int> Shufll(int n, Shuffle_Random& random);

}  // namespace pf
