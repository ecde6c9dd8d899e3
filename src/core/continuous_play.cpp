// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/continuous_play.h"

#include <numeric>

namespace pf {

Continuous_Play::Continuous_Play(Per_File perFile) : perFile_(std::move(perFile)) {}

void Continuous_Play::Run(QStringList entries, Play_Order order)
{
    if (entries.isEmpty())
        return;
    const int n = int(entries.size());
    std::vector<int> positions;
    if (order == Play_Order::Random) {
        positions = Shufll(n, random_);
    } else {
        positions.resize(size_t(n));
        std::iota(positions.begin(), positions.end(), 1);
    }
    for (const int position : positions) {
        if (perFile_(entries.at(position - 1)) == Play_End::Stopped_By_User)
            return;
    }
}

}  // namespace pf
