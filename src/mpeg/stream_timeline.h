// SPDX-License-Identifier: GPL-3.0-or-later
// The timeline of an MPEG file as the join of this system makes it: the bytes of whole files
// one after another, each part with its own clock. Scan_Stream finds the parts and times them.
//
// Program streams (pack SCR, PES PTS) and transport streams (PCR of the program's PCR PID, PTS
// of its video PID): a part begins where the clock breaks the rule of Part_Collector (falls
// back, jumps ahead, or runs slower than its bytes can arrive at the mux rate) or after a
// program end code. A part lasts from its first shown picture to its last: stamped pictures
// are placed in display order by their temporal references, so the pictures that carry no
// stamp (most, at low rates) still count. A part whose stamps are missing or disagree with its
// clock is timed by counting its pictures.
// Video elementary streams (no clock): pictures are counted from picture start codes and each
// sequence header's frame rate, in fields (repeat_first_field and field pictures count right),
// without decoding; a seek point at every sequence header.
//
// How exact: a file of up to Exact_Bytes, or of up to Exact_Cached_Bytes when the page cache
// holds it, is read whole at open, unit by unit; every pair of successive clocks is judged, so
// every seam is found and every part is timed to the frame: the timeline is exact. A larger
// file is sampled, so that open never waits long: a grid of small reads (at most 2,048, or 256
// when the file must come from the disk, at least 256 KiB apart, and the file's tail); every
// interval whose clock falls back, runs too fast for the mux rate, or holds the edge of the
// data (zeros, garbage, a cut) is split until a walk of at most 16 KiB finds its seam, within
// a reading budget of 48 MiB; each part is timed from its two ends. Such a timeline is marked
// sampled: a part shorter than the grid spacing can hide between two samples whose clocks
// happen to rise. A part is taken to hide parts when the budget left one of its intervals
// unsplit, or when its clock runs clearly slower than whole parts do and its pictures, counted
// in windows, last much longer than its ends say (a part of a higher bit rate is whole); it is
// then timed by its bytes at the seconds per byte of the whole parts. An elementary stream
// that large is estimated from the picture density of 64 evenly spread windows. Refine_Stream
// reads the whole file and gives the exact timeline; Timeline_Refiner runs it in the
// background for the device, which then takes it.
// Damaged files: reads are bounded windows (about 1 MiB at most, however long a run of zeros or
// garbage), units that do not chain are skipped, stamps that do not fit the clock beside them
// and lone clocks that do not fit their neighbours are ignored; no part has a negative or
// unbounded length.
//
// Times: whole-file seconds run over the parts in order. Each part is played as a file of its
// own, whose player clock starts at its earliest stamp; `lead` is where its pictures start.
#pragma once

#include "mpeg/byte_source.h"
#include "mpeg/stream_walker.h"

#include <QList>
#include <QString>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

namespace pf {

constexpr qint64 Exact_Bytes = 32 * 1024 * 1024;           // walked whole at open
constexpr qint64 Exact_Cached_Bytes = 1024 * 1024 * 1024;  // walked whole at open when cached

struct Stream_Part {
    qint64 begin = 0;         // first byte of the part
    qint64 end = 0;           // one past its last byte of data
    double duration = 0;      // seconds
    double lead = 0;          // player clock of its first picture
    double frameRate = 0;     // 0 when unknown (the timeline's default applies)
    double start = 0;         // whole-file seconds where it starts (set by Finish)
    double framesBefore = 0;  // whole-file frames before it (set by Finish)
};

// A place a decoder can start an elementary stream at (a sequence header), with its time.
struct Seek_Point {
    qint64 offset = 0;
    double time = 0;
};

struct Stream_Timeline {
    Stream_Format format;
    QList<Stream_Part> parts;      // empty when the file is nothing we can time
    QList<Seek_Point> seekPoints;  // elementary streams: ascending; estimates when !exact
    bool exact = false;
    double frameRate = 0;  // the first part's; the default for parts without one
    qint64 size = 0;

    bool Empty() const { return parts.isEmpty(); }
    double Total() const;
    double Total_Frames() const;
    int Part_At(double t) const;  // the part that holds whole-file time t
    double Part_Start(int part) const;
    // Whole-file seconds of `local` player seconds into `part`, kept inside the part.
    double Whole_Time(int part, double local) const;
    double To_Frames(double t) const;
    double From_Frames(double frames) const;
    // The seek point at or before whole-file time t (offset 0 when there is none).
    Seek_Point Seek_Point_Before(double t) const;
    // Drops parts with nothing to show, fills starts and frame counts and the default rate
    // (`fallbackRate` when no part has one of its own).
    void Finish(double fallbackRate = 0);
    bool Same_Parts(const Stream_Timeline& other) const;  // same byte ranges
};

// Finds and times the parts quickly: exact for small files (and for cached ones of moderate
// size) when `mayWalk`, sampled otherwise.
Stream_Timeline Scan_Stream(Byte_Source& source, bool mayWalk = true);
Stream_Timeline Scan_Stream(const QString& path, bool mayWalk = true);
// The exact timeline, reading every byte; returns what it has when `cancel` is set (then not exact).
Stream_Timeline Refine_Stream(const QString& path, const std::atomic<bool>* cancel);
Stream_Timeline Refine_Stream(Byte_Source& source);

// Runs Refine_Stream on a thread of its own, at idle disk and low processor priority, and hands
// the result to the owner's thread. The destructor cancels the walk and waits for it.
class Timeline_Refiner {
public:
    explicit Timeline_Refiner(const QString& path);
    ~Timeline_Refiner();
    Timeline_Refiner(const Timeline_Refiner&) = delete;
    Timeline_Refiner& operator=(const Timeline_Refiner&) = delete;
    // The exact timeline, once, when the walk has finished; nothing before (or after a failure).
    std::optional<Stream_Timeline> Take();

private:
    std::atomic<bool> cancel_{false};
    std::mutex mutex_;
    std::optional<Stream_Timeline> result_;
    std::thread worker_;
};

}  // namespace pf
