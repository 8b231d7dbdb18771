#!/bin/sh
# Plays one game file through Allegro on a virtual display, with ALSA writing what it mixes to
# a file instead of a sound card, and checks that the file holds sound.
# Usage: run_sound_test.sh PROBE GAME_DIR FILE SECONDS
set -eu
probe=$1 game_dir=$2 file=$3 seconds=$4

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Allegro's sound set-up needs a display; Xvfb picks a free one and tells us its number.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
tries=0
while [ ! -s "$work/display" ]; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ]; then
    echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1
  fi
  sleep 0.1
done
display=":$(head -n 1 "$work/display")"

cat >"$work/.asoundrc" <<ASOUND
pcm.!default { type file; slave.pcm "null"; file "$work/capture.raw"; format "raw" }
ASOUND

(cd "$game_dir" && HOME="$work" DISPLAY="$display" "$probe" play "$file" "$seconds")
"$probe" check "$work/capture.raw"
