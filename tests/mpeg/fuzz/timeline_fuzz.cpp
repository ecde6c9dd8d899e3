// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes (random, and mutations of small real joins) to the timeline scanner in
// every way it can read them, each kind forced on the bytes whatever they look like: every scan
// must end, and give parts inside the file, in order, with a positive, finite length. The
// stamped join of the bytes with themselves, fed in pieces, is exactly as long as they are.
#include "mpeg/clock_scan.h"
#include "mpeg/elementary_scan.h"
#include "mpeg/stamp_rewriter.h"
#include "mpeg/stream_timeline.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

pf::Stream_Timeline Of(const QList<pf::Stream_Part>& parts)
{
    pf::Stream_Timeline t;
    t.parts = parts;
    return t;
}

void Check(pf::Stream_Timeline t, qint64 size)
{
    t.Finish();
    qint64 lastBegin = -1;
    for (const pf::Stream_Part& p : t.parts) {
        if (!(p.duration > 0) || !std::isfinite(p.duration) || p.begin < 0 || p.begin >= p.end || p.end > size
            || p.begin <= lastBegin || !std::isfinite(p.frameRate))
            __builtin_trap();
        lastBegin = p.begin;
    }
    const double total = t.Total();
    if (!std::isfinite(total) || total < 0 || !std::isfinite(t.To_Frames(total / 2))
        || !std::isfinite(t.From_Frames(1)))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const pf::Stream_Format forced[]
        = {{pf::Stream_Kind::Program}, {pf::Stream_Kind::Transport, 188, 0}, {pf::Stream_Kind::Transport, 192, 4}};
    for (const pf::Stream_Format& format : forced) {
        pf::Memory_Source walked(bytes), sampled(bytes);
        Check(Of(pf::Walk_Clocked(walked, format)), qint64(size));
        Check(Of(pf::Sample_Clocked(sampled, format)), qint64(size));
    }
    pf::Memory_Source counted(bytes), estimated(bytes), scanned(bytes);
    Check(pf::Count_Elementary(counted), qint64(size));
    const pf::Stream_Timeline estimate = pf::Sample_Elementary(estimated);
    Check(estimate, qint64(size));
    if (!estimate.Empty())
        pf::Find_Seek_Point(estimated, estimate, estimate.Total() / 2);
    Check(pf::Scan_Stream(scanned), qint64(size));
    qint64 joined = 0;
    pf::Stamp_Rewriter rewriter([&joined](const unsigned char*, qint64 n) { return (joined += n) >= 0; });
    for (int input = 0; input < 2; ++input) {
        rewriter.Begin_Input(input);
        for (std::size_t at = 0; at < size; at += 4096)
            rewriter.Feed(data + at, qint64(std::min<std::size_t>(4096, size - at)));
        rewriter.End_Input();
    }
    if (joined != 2 * qint64(size))
        __builtin_trap();
    return 0;
}
