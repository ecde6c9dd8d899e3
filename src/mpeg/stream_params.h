// SPDX-License-Identifier: GPL-3.0-or-later
// What kind of MPEG a file holds, from its first headers only (at most Param_Bytes read): the
// stream kind, its video's MPEG version, picture size and frame rate, and its first sound
// stream's format (MPEG audio layer, sample rate and channels; AC-3). Parts of unlike kinds
// play badly once joined byte for byte, so the join compares its inputs by these before it
// writes anything (Find_Unlike_Input), and asks with Unlike_Question; a list entry's tool tip
// shows some of them. Plain functions and values; the texts are the program's own Japanese.
#pragma once

#include "mpeg/byte_source.h"
#include "mpeg/stream_walker.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace pf {

constexpr qint64 Param_Bytes = 384 * 1024;  // the most read of one file

enum class Audio_Codec { None, Mpeg, Ac3 };

struct Audio_Params {
    Audio_Codec codec = Audio_Codec::None;
    int layer = 0;        // MPEG audio: 1 to 3
    int mpegVersion = 0;  // MPEG audio: 1, 2, or 25 for 2.5
    int sampleRate = 0;   // Hz
    int channels = 0;     // full-range channels
    bool lfe = false;     // AC-3: a low-frequency channel besides
    bool operator==(const Audio_Params&) const = default;
};

struct Stream_Params {
    Stream_Kind kind = Stream_Kind::None;
    int mpegVersion = 0;  // of the video (of the packs when no video header was read); 0 unknown
    int width = 0, height = 0;
    double frameRate = 0;
    Audio_Params audio{};
    bool audioKnown = false;  // the sound streams were looked for (not an elementary stream)
};

Stream_Params Read_Stream_Params(Byte_Source& source);
// Kind None for a file that is not a regular file or cannot be read.
Stream_Params Read_Stream_Params(const QString& path);

// "ﾌﾟﾛｸﾞﾗﾑｽﾄﾘｰﾑ", ...; "MPEG ではありません" for None.
QString Kind_Name(Stream_Kind kind);
QString Size_Text(const Stream_Params& p);  // "720×480"

struct Param_Difference {
    QString what;   // "画面ｻｲｽﾞ"
    QString first;  // the first input's value, "720×480"
    QString other;  // the differing input's, "352×240"
    bool operator==(const Param_Difference&) const = default;
};

// The first way `other` differs from `first`, looked at in the order kind, MPEG version,
// picture size, frame rate, sound; nothing when they agree in what both tell.
std::optional<Param_Difference> First_Difference(const Stream_Params& first, const Stream_Params& other);

struct Unlike_Input {
    QString first;  // the input compared with: the first one that could be read
    QString other;  // the first input that differs from it
    Param_Difference difference;
};
// Reads the inputs' headers in order; files that cannot be read as MPEG at all are passed over.
std::optional<Unlike_Input> Find_Unlike_Input(const QStringList& inputs);

class Prompter;

// The question before the join: which input differs from which, in what, with both values.
QString Unlike_Question(const Unlike_Input& unlike);
// Asks it (はい/いいえ, いいえ the default and Esc) when there is an unlike input; true when the
// join may go on.
bool Join_Anyway(const std::optional<Unlike_Input>& unlike, Prompter& prompter);
// The note after a join with continuous timestamps that left `paths` as they were.
QString Unchanged_Inputs_Message(const QStringList& paths);

}  // namespace pf
