#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the media clips the tests play and join, once per build tree, with ffmpeg.
# Clips are 320x240 at 25 fps unless said otherwise; a clip already made is left alone, so a
# rerun is cheap.
# Clips are written under a temporary name first, so an interrupted run leaves no half file.
set -euo pipefail
out=${1:?output folder}
mkdir -p "$out"

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# make <name> <seconds> <muxer> <video codec> <audio: yes|no> [extra ffmpeg options...]
# SIZE and RATE, when set, change the picture size and frame rate.
make() {
  local name=$1 secs=$2 mux=$3 vcodec=$4 audio=$5
  shift 5
  [ -s "$out/$name" ] && return 0
  local inputs=(-f lavfi -i "testsrc=size=${SIZE:-320x240}:rate=${RATE:-25}:duration=$secs")
  local amap=(-an)
  if [ "$audio" = yes ]; then
    inputs+=(-f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$secs")
    amap=(-c:a mp2 -b:a 128k)
  fi
  [ "$vcodec" = rv10 ] && amap=(-an)
  ff "${inputs[@]}" -c:v "$vcodec" -b:v 400k -g 12 "${amap[@]}" "$@" -f "$mux" "$out/.$name.part"
  mv "$out/.$name.part" "$out/$name"
}

make mpeg1_2s.mpg 2 mpeg mpeg1video yes
make mpeg1_3s.mpg 3 mpeg mpeg1video yes
make mpeg1_2s_silent.mpg 2 mpeg mpeg1video no
make mpeg2_3s.mpg 3 vob mpeg2video yes
make mpeg2_2s_silent.mpg 2 vob mpeg2video no
make clip.rm 2 rm rv10 no

# The players' clips: a 1-second MPEG clip and RealMedia clip, and a .ram list whose first
# location is missing and whose second is the 1-second clip.
make mpeg1_1s.mpg 1 mpeg mpeg1video yes
make real_1s.rm 1 rm rv10 no
[ -s "$out/list.ram" ] || printf '# two locations\n\nfile://%s/missing.rm\nfile://%s/real_1s.rm\n' "$out" "$out" > "$out/list.ram"

# Low-rate parts of every kind that the join may meet, for the timeline tests, which join them
# in many layouts: program streams (MPEG-1, and MPEG-2 with B pictures and another size and
# rate), video elementary streams, transport streams, and one group of pictures alone.
low=(-b:v 150k -ac 1 -b:a 32k)
make ps1_2s.mpg 2 mpeg mpeg1video yes "${low[@]}"
make ps1_04s.mpg 0.4 mpeg mpeg1video yes "${low[@]}"
make ps1_3s.mpg 3 mpeg mpeg1video yes "${low[@]}" -b:v 100k
make ps2_24s.mpg 2.4 vob mpeg2video yes "${low[@]}" -bf 2
SIZE=352x288 RATE=30000/1001 make ps2_36s.mpg 3.6 vob mpeg2video yes "${low[@]}"
make es1_2s.mpg 2 mpeg1video mpeg1video no "${low[@]}"
SIZE=352x288 RATE=30 make es2_3s.mpg 3 mpeg2video mpeg2video no "${low[@]}" -bf 2
make ts_2s.mpg 2 mpegts mpeg2video yes "${low[@]}"
make ts_3s.mpg 3 mpegts mpeg2video yes "${low[@]}" -bf 2
make gop_048s.mpg 0.48 mpeg mpeg1video no -b:v 100k
# MPEG-2 with B pictures at the usual rate, whose length ffprobe reads whole (at the low rate
# above, the last picture carries no stamp and ffprobe misses it).
make ps2b_24s.mpg 2.4 vob mpeg2video yes -bf 2
# Long parts, for the sampling scan of large files, and one of a higher bit rate.
make ps1_60s.mpg 60 mpeg mpeg1video no -b:v 100k -s 160x120
make ts_60s.mpg 60 mpegts mpeg2video no -b:v 100k -s 160x120
make ps1_20s_hi.mpg 20 mpeg mpeg1video no -b:v 2M

# A path with blanks and Japanese characters.
[ -s "$out/映像 クリップ 1.mpg" ] || cp "$out/mpeg1_2s.mpg" "$out/映像 クリップ 1.mpg"

# A joined file exactly as the join writes it: the bytes of 2 s and 3 s, one after the other.
if [ ! -s "$out/joined_2s_3s.mpg" ]; then
  cat "$out/mpeg1_2s.mpg" "$out/mpeg1_3s.mpg" > "$out/.joined.part"
  mv "$out/.joined.part" "$out/joined_2s_3s.mpg"
fi

# A file that is no video at all, with a video's extension.
[ -s "$out/not_video.mpg" ] || printf 'This is plain text, not an MPEG stream.\n%.0s' {1..40} > "$out/not_video.mpg"
exit 0
