// SPDX-License-Identifier: GPL-3.0-or-later
// Timelines of video elementary streams, which have no clock: Count_Elementary counts every
// picture in one pass (exact; a seek point at each sequence header, a part per run of one
// frame rate), Sample_Elementary estimates from the picture density of evenly spread windows
// (its seek points are estimates), and Find_Seek_Point gives the sequence header a decoder
// should start at to show whole-file time t.
#pragma once

#include "mpeg/stream_timeline.h"

#include <optional>

namespace pf {

Stream_Timeline Count_Elementary(Byte_Source& source);
Stream_Timeline Sample_Elementary(Byte_Source& source);
std::optional<Seek_Point> Find_Seek_Point(Byte_Source& source, const Stream_Timeline& timeline, double t);

}  // namespace pf
