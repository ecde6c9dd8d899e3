// Timing of MPEG program streams, read from the stream's own timestamps (pack SCR, PES PTS).
// The join of this system writes whole program streams one after another, and every part's
// timestamps start again, so players see the last part's length only and a position that
// falls back at each seam. Scan_Program_Stream finds the parts by sampling small windows of the
// file and bisecting where the clock falls back, never reading the whole file.
#pragma once

#include <QList>
#include <QString>

namespace pf {

struct Stream_Part {
    qint64 begin = 0;       // first byte of the part
    qint64 end = 0;         // one past its last byte
    double first = 0;       // first presentation time, seconds on the part's own clock
    double duration = 0;    // seconds
    double lead = 0;        // how long after the part's earliest stamp (of any stream) its picture starts
};

struct Stream_Timeline {
    QList<Stream_Part> parts;  // empty when the file is no program stream we can time
    double frame_rate = 0;     // from the first video sequence header; 0 when there is none
    double Total() const;
    // Index of the part that holds whole-file time `t` (seconds).
    int Part_At(double t) const;
    double Part_Start(int part) const;
    // Whole-file seconds of `local` seconds (a player's clock, rebased to the part's earliest
    // stamp) into `part`, kept inside the part.
    double Whole_Time(int part, double local) const;
};

Stream_Timeline Scan_Program_Stream(const QString& path);

}  // namespace pf
