// SPDX-License-Identifier: GPL-3.0-or-later
// The join with continuous timestamps of whole files in one call, for the join's worker and the
// measuring program. The inputs (regular files only) are read in order by a thread of the
// call's own, a few MiB ahead of the calling thread, which rewrites each piece (Stamp_Rewriter)
// and hands it to the sink: reading from the disk and rewriting overlap. The caller owns what
// the sink writes to, and its sync.
#pragma once

#include "mpeg/stamp_rewriter.h"

#include <QStringList>

#include <functional>

namespace pf {

struct Rewrite_Outcome {
    bool ok = false;         // every input read whole and every byte handed to the sink
    bool cancelled = false;  // `progress` asked to stop
    QString failedPath;      // the input that could not be opened or read; empty when the sink failed
    int error = 0;           // its errno (0 when it is no regular file)
    QList<int> unchanged;    // indexes into the inputs of those left as they were
};

// `progress`, when given, hears the bytes read so far after each piece; false stops the join.
Rewrite_Outcome Rewrite_Files(const QStringList& inputs, const Stamp_Rewriter::Sink& sink,
                              const std::function<bool(qint64)>& progress = {});

}  // namespace pf
