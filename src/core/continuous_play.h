// SPDX-License-Identifier: GPL-3.0-or-later
// Continuous play ("連続再生") over one list: every entry is handed in turn to the per-file
// rule, in list order or in a Shufll order, the next one only when the rule has returned
// (its modal player window has closed), until the list is done or a play ended by the user.
// The caller owns the rule (the play dispatch); this class owns only its random source.
#pragma once

#include "core/play_end.h"
#include "core/settings.h"
#include "lists/shuffle.h"

#include <QStringList>

#include <functional>

namespace pf {

class Continuous_Play {
public:
    using Per_File = std::function<Play_End(const QString& entry)>;

    explicit Continuous_Play(Per_File perFile);

    // Nothing for an empty list. The run walks its own copy: a drop on the list during a run
    // cannot shift what plays next.
    void Run(QStringList entries, Play_Order order);

private:
    Per_File perFile_;
    Shuffle_Random random_;
};

}  // namespace pf
