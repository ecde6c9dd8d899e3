// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/shuffle.h"

#include <algorithm>
#include <chrono>
#include <random>

namespace pf {

namespace {

std::uint64_t Rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

// SplitMix64's finaliser: spreads every bit of a seed or clock value over the whole word.
std::uint64_t Mix(std::uint64_t z)
{
    z += 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t Steady_Nanoseconds()
{
    return std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace

Shuffle_Random::Shuffle_Random(Clock clock) : clock_(clock ? std::move(clock) : Clock(Steady_Nanoseconds))
{
    std::random_device device;
    for (std::uint64_t& word : s_)
        word = Mix((std::uint64_t(device()) << 32) ^ device());
}

std::uint64_t Shuffle_Random::Next()
{
    const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
}

double Shuffle_Random::Draw()
{
    // The re-seed before every draw: the clock joins the state instead of replacing it.
    s_[3] ^= Mix(clock_());
    if (s_[0] == 0 && s_[1] == 0 && s_[2] == 0 && s_[3] == 0)
        s_[0] = 0x9E3779B97F4A7C15ULL;  // the one state the generator cannot leave
    return double(Next() >> 11) * 0x1.0p-53;
}

std::vector<int> Shufll(int n, const std::function<double()>& draw)
{
    std::vector<int> order;
    if (n < 1)
        return order;
    order.reserve(size_t(n));
    // A Fenwick tree over the free flags (all free): node i counts the free positions in
    // (i - lowbit(i), i], so the r-th free position is found in O(log n).
    const std::int64_t size = n;
    std::vector<int> tree(size_t(size) + 1);
    for (std::int64_t i = 1; i <= size; ++i)
        tree[size_t(i)] = int(i & -i);
    std::int64_t top = 1;
    while (top * 2 <= size)
        top *= 2;
    for (int remaining = n; remaining > 0; --remaining) {
        // min: rounding of u * remaining must not step past the last free position.
        int r = std::min(int(draw() * remaining) + 1, remaining);
        std::int64_t pos = 0;
        for (std::int64_t step = top; step > 0; step /= 2) {
            if (pos + step <= size && tree[size_t(pos + step)] < r) {
                pos += step;
                r -= tree[size_t(pos)];
            }
        }
        ++pos;
        for (std::int64_t i = pos; i <= size; i += i & -i)
            --tree[size_t(i)];
        order.push_back(int(pos));
    }
    return order;
}

std::vector<int> Shufll(int n, Shuffle_Random& random)
{
    return Shufll(n, [&random] { return random.Draw(); });
}

}  // namespace pf
