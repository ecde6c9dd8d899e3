// SPDX-License-Identifier: GPL-3.0-or-later
// The clips that tests/support/make_clips.sh makes for the joined-stream tests, each with its
// picture count and frame rate, so that a joined file's expected length is a sum of these.
#pragma once

#include <QString>

namespace pf::test {

// Where make_clips.sh put the clip `name`.
inline QString Media_Path(const char* name)
{
    return QStringLiteral(PF_TEST_MEDIA_DIR "/") + QLatin1String(name);
}

struct Piece {
    const char* file;
    int frames;
    double rate;
    double Seconds() const { return frames / rate; }
};

inline const Piece Ps1_2{"ps1_2s.mpg", 50, 25}, Ps1_04{"ps1_04s.mpg", 10, 25}, Ps1_3{"ps1_3s.mpg", 75, 25},
    Ps2_24{"ps2_24s.mpg", 60, 25}, Ps2b_24{"ps2b_24s.mpg", 60, 25}, Ps2_36{"ps2_36s.mpg", 108, 30000.0 / 1001},
    Es1_2{"es1_2s.mpg", 50, 25}, Es2_3{"es2_3s.mpg", 90, 30}, Ts_2{"ts_2s.mpg", 50, 25}, Ts_3{"ts_3s.mpg", 75, 25},
    Gop{"gop_048s.mpg", 12, 25}, Ps_60{"ps1_60s.mpg", 1500, 25}, Ts_60{"ts_60s.mpg", 1500, 25},
    Ps_20_Hi{"ps1_20s_hi.mpg", 500, 25};

}  // namespace pf::test
