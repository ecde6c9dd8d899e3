// SPDX-License-Identifier: GPL-3.0-or-later
// Giving a finished file its final name. Two kinds of move: one that never replaces an existing
// file (automatic names), and one that replaces the target in a single atomic step (Save-As and
// rename). Across file systems the file is first copied beside the target and then renamed, so
// the target is never half written; the source goes only once the target is complete.
#pragma once

#include <QString>

namespace pf {

class Copy_Progress;

enum class Move_Mode { Keep_Existing, Replace };

enum class Move_Result {
    Moved,
    Same_File,      // source and target are one path: nothing to do
    Target_Exists,  // Keep_Existing only
    Failed,
};

struct Move_Outcome {
    Move_Result result = Move_Result::Failed;
    int error = 0;  // errno of the failure
    bool Ok() const { return result == Move_Result::Moved; }
};

Move_Outcome Move_File(const QString& from, const QString& to, Move_Mode mode, Copy_Progress* progress = nullptr);

// True when both paths name one existing file (same device and inode).
bool Same_File(const QString& a, const QString& b);

}  // namespace pf
