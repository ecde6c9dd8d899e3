// SPDX-License-Identifier: GPL-3.0-or-later
// Parts of a program or transport stream found from its clock (see stream_timeline.h for what
// each way promises): Walk_Clocked reads every unit and is exact; Sample_Clocked samples a grid
// and splits every interval whose clock shows a seam until a short walk finds it.
#pragma once

#include "mpeg/stream_timeline.h"

namespace pf {

QList<Stream_Part> Walk_Clocked(Byte_Source& source, const Stream_Format& format);
QList<Stream_Part> Sample_Clocked(Byte_Source& source, const Stream_Format& format);

}  // namespace pf
