#!/bin/sh
# `make play` as a player meets it on a desktop: on a private Xvfb, with a sound device (ALSA's
# file plugin, in a HOME of its own: the machine has no sound card), the game's title comes up
# (a screenshot is kept) and a click on "Sair" ends it; the status must be 0.
# Usage: tools/quit-from-title.sh SCREENSHOT.png   (needs xvfb, xdotool and imagemagick, which
# `make test` installs; fresh-debian.sh runs it in each fresh root)
set -u
shot=${1:?usage: tools/quit-from-title.sh SCREENSHOT.png}
cd "$(dirname "$0")/.."
fail() { echo "quit-from-title: FAILED: $*" >&2; exit 1; }

home=$(mktemp -d)
display_file=$home/display
printf 'pcm.!default { type file; slave.pcm "null"; file "%s/sound.raw"; format "raw" }\n' \
  "$home" >"$home/.asoundrc"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$home"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$display_file")
export DISPLAY

log=$home/play.log
HOME=$home make play >"$log" 2>&1 &
game=$!
window=""
for _ in $(seq 600); do
  window=$(xdotool search --onlyvisible --name '^Pitlorex$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  kill -0 $game 2>/dev/null || break
  sleep 0.2
done
[ -n "$window" ] || { cat "$log" >&2; fail "the game's window did not open"; }
sleep 2  # the title and its words are drawn once the window is up
import -window root "$shot" || fail "no screenshot"

# "Sair" lies at (125, 335) of the 512 x 384 picture, fitted and centred in the window.
eval "$(xdotool getwindowgeometry --shell "$window")"
set -- $(echo "$WIDTH $HEIGHT" | awk '{ s = $1 / 512; if ($2 / 384 < s) s = $2 / 384
  printf "%d %d\n", ($1 - 512 * s) / 2 + 125 * s, ($2 - 384 * s) / 2 + 335 * s }')
xdotool mousemove --window "$window" "$1" "$2" sleep 0.3 click 1
for _ in $(seq 100); do kill -0 $game 2>/dev/null || break; sleep 0.1; done
kill -0 $game 2>/dev/null && { kill $game; fail "\"Sair\" did not end the game"; }
wait $game
status=$?
[ "$status" -eq 0 ] || { cat "$log" >&2; fail "make play ended with status $status"; }
echo "quit-from-title: the title came up and \"Sair\" ended make play with status 0"
