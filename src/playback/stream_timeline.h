// The timeline of an MPEG file as the join of this system makes it: the bytes of whole files
// one after another, each part with its own clock. Scan_Stream finds the parts and times them:
//
// - Program streams (pack SCR, PES PTS) and transport streams (PCR and PTS of the program's
//   PCR PID and video PID): a part ends where the clock breaks the rule of Part_Collector
//   (falls back, jumps, or runs slower than the bytes at the mux rate allow) or at a program
//   end code. Its length is its last picture stamp less its first plus one frame; a part
//   whose stamps are missing or disagree with its clock is timed by counting its pictures.
//   Exact: files up to kExact_Bytes are walked unit by unit, so every seam is found and every
//   part is timed to its stamps, to the frame. Larger files are sampled on a grid (a few KiB
//   every 128 KiB or more), and every interval whose clock falls back, jumps, runs too slow
//   for its bytes at the mux rate, or advances much faster or slower than the file's own rate
//   nearby, is split until a walk of at most 32 KiB finds its seams. Such a timeline is
//   marked sampled: a seam hides from it only where a short part sits between two samples
//   whose clocks happen to look continuous. Refine_Stream then walks the whole file (as on
//   a background thread) and gives the exact timeline.
// - Video elementary streams (no clock): pictures are counted from picture start codes and the
//   frame rate of each sequence header (fields, so repeat_first_field and field pictures
//   count right), without decoding. Up to kExact_Bytes in one pass at disk speed: exact, with
//   a seek point at every sequence header. Larger: picture density measured in evenly spread
//   windows, the length estimated to within the file's variation of bytes per picture;
//   Refine_Stream counts the whole file.
// - Damaged files: bytes are read in bounded windows (never more than about 1 MiB at once,
//   however long a run of zeros or garbage); units that do not chain are skipped; stamps that
//   do not fit their clock, and lone clocks that do not fit their neighbours, are ignored, so
//   a damaged part is no longer than its clock says. No scan ever returns a negative length.
//
// Times: whole-file seconds run over the parts in order. Each part is played as a file of its
// own, whose player clock starts at its earliest stamp; `lead` is where its pictures start.
#pragma once

#include "playback/byte_source.h"
#include "playback/stream_walker.h"

#include <QList>
#include <QString>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

namespace pf {

constexpr qint64 kExact_Bytes = 32 * 1024 * 1024;          // walked whole at open
constexpr qint64 kExact_Cached_Bytes = 256 * 1024 * 1024;  // walked whole at open when cached

struct Stream_Part {
    qint64 begin = 0;         // first byte of the part
    qint64 end = 0;           // one past its last byte of data
    double duration = 0;      // seconds
    double lead = 0;          // player clock of its first picture
    double frame_rate = 0;    // 0 when unknown (the timeline's default applies)
    double start = 0;         // whole-file seconds where it starts (set by Finish)
    double frames_before = 0; // whole-file frames before it (set by Finish)
};

// A place a decoder can start an elementary stream at (a sequence header), with its time.
struct Seek_Point {
    qint64 offset = 0;
    double time = 0;
};

struct Stream_Timeline {
    Stream_Format format;
    QList<Stream_Part> parts;        // empty when the file is nothing we can time
    QList<Seek_Point> seek_points;   // elementary streams: ascending; estimates when !exact
    bool exact = false;
    double frame_rate = 0;           // the first part's; the default for parts without one
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
    // (`fallback_rate` when no part has one of its own).
    void Finish(double fallback_rate = 0);
    bool Same_Parts(const Stream_Timeline& other) const;  // same byte ranges
};

// Finds and times the parts quickly (exact for small files, sampled for large ones).
Stream_Timeline Scan_Stream(Byte_Source& source);
Stream_Timeline Scan_Stream(const QString& path);
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
