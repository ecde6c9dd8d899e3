// SPDX-License-Identifier: GPL-3.0-or-later
// Every name of libmpv's that this program uses, spelt as libmpv spells it: the options set
// before a player starts, the properties read, set and observed while it plays, and the
// commands with their flags. A name that is both an option and a property is listed once. The
// values that go with the names stay with the code that chooses them.
#pragma once

namespace pf::mpv {

// Options: the session's own, which keep keys, mouse and the user's configuration away.
inline constexpr char Config[] = "config";
inline constexpr char Terminal[] = "terminal";
inline constexpr char Input_Default_Bindings[] = "input-default-bindings";
inline constexpr char Input_Vo_Keyboard[] = "input-vo-keyboard";
inline constexpr char Input_Cursor[] = "input-cursor";
inline constexpr char Cursor_Autohide[] = "cursor-autohide";
inline constexpr char Osc[] = "osc";
inline constexpr char Load_Scripts[] = "load-scripts";
inline constexpr char Ytdl[] = "ytdl";
inline constexpr char Load_Stats_Overlay[] = "load-stats-overlay";
inline constexpr char Load_Osd_Console[] = "load-osd-console";
inline constexpr char Load_Auto_Profiles[] = "load-auto-profiles";

// Options: video output, audio output and how the players behave.
inline constexpr char Vo[] = "vo";
inline constexpr char Force_Window[] = "force-window";
inline constexpr char Wid[] = "wid";
inline constexpr char Gpu_Api[] = "gpu-api";
inline constexpr char Ao[] = "ao";
inline constexpr char Idle[] = "idle";
inline constexpr char Keep_Open[] = "keep-open";
inline constexpr char Osd_Level[] = "osd-level";
inline constexpr char Audio_Display[] = "audio-display";
inline constexpr char Hr_Seek[] = "hr-seek";

// Properties (the first two are options as well).
inline constexpr char Pause[] = "pause";
inline constexpr char Hr_Seek_Demuxer_Offset[] = "hr-seek-demuxer-offset";
inline constexpr char Time_Pos[] = "time-pos";
inline constexpr char Duration[] = "duration";
inline constexpr char Eof_Reached[] = "eof-reached";
inline constexpr char Paused_For_Cache[] = "paused-for-cache";
inline constexpr char Playlist_Pos[] = "playlist-pos";
inline constexpr char Container_Fps[] = "container-fps";
inline constexpr char Width[] = "width";
inline constexpr char Height[] = "height";
inline constexpr char Media_Title[] = "media-title";
inline constexpr char Copyright[] = "metadata/by-key/copyright";
inline constexpr char Fullscreen[] = "fullscreen";
inline constexpr char Speed[] = "speed";
inline constexpr char Volume[] = "volume";
inline constexpr char Audio_Filter[] = "af";
inline constexpr char Video_Track[] = "vid";

// Commands and their flags.
inline constexpr char Loadfile[] = "loadfile";
inline constexpr char Append[] = "append";
inline constexpr char Playlist_Play_Index[] = "playlist-play-index";
inline constexpr char Seek[] = "seek";
inline constexpr char Absolute_Exact[] = "absolute+exact";
inline constexpr char Frame_Step[] = "frame-step";

}  // namespace pf::mpv
