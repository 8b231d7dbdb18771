#!/usr/bin/env bash
# Ends the desktop under a running game, over and over, and counts how the game ended: the
# proof, under Xwayland, that losing the display ends the game by itself with status 1 (the
# tests run on Xvfb, where the hang at logout never showed).
# Usage: tools/desktop-trials.sh weston|mutter|xvfb [runs] [game folder]
# Needs weston, mutter, xwayland and dbus (Debian packages); run from the source folder after
# `make build`.
set -u
desktop=${1:?weston, mutter or xvfb}
runs=${2:-20}
game=$(realpath "${3:-build/game}")
work=$(mktemp -d /tmp/pitlorex-trials.XXXXXX)
chmod 700 "$work"
trap 'pkill -P $$ 2>/dev/null; rm -rf "$work"' EXIT
# Sound goes to a file nobody reads: the game starts as on a machine with a sound card.
printf 'pcm.!default { type file; slave.pcm "null"; file "/dev/null"; format "raw" }\n' \
  > "$work/.asoundrc"

# Waits up to 10 s for the desktop's log to name its X display (the sed expression `$1`).
read_display() {
  for _ in $(seq 100); do
    display=$(sed -n "$1" "$work/desktop.log")
    [ -n "$display" ] && return
    sleep 0.1
  done
}

# Starts the desktop; sets its X display, and XAUTHORITY where it needs one.
start_desktop() {
  export XDG_RUNTIME_DIR="$work/run"
  rm -rf "$XDG_RUNTIME_DIR"; mkdir -m 700 "$XDG_RUNTIME_DIR"
  case $desktop in
  weston)
    weston --backend=headless-backend.so --use-pixman --xwayland --idle-time=0 \
      > "$work/desktop.log" 2>&1 &
    desktop_pid=$!
    read_display 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' ;;
  mutter)
    dbus-run-session -- mutter --wayland --headless --virtual-monitor 1920x1080 \
      > "$work/desktop.log" 2>&1 &
    desktop_pid=$!
    read_display 's/.*Using public X11 display \(:[0-9]*\).*/\1/p'
    XAUTHORITY=$(ls -t "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* 2>/dev/null | head -1)
    export XAUTHORITY ;;
  xvfb)
    display=:$((90 + RANDOM % 9))
    Xvfb "$display" -screen 0 1920x1080x24 > "$work/desktop.log" 2>&1 &
    desktop_pid=$! ;;
  esac
  sleep 1
}

# The compositor's whole process group, as a logout ends it.
end_desktop() {
  pkill -TERM -P "$desktop_pid" 2>/dev/null
  kill -TERM "$desktop_pid" 2>/dev/null
  pkill -TERM -f "Xwayland $display" 2>/dev/null
}

ok=0
for run in $(seq "$runs"); do
  start_desktop
  ( cd "$game" && HOME="$work" DISPLAY="$display" exec ./pitlorex ) > "$work/game.log" 2>&1 &
  game_pid=$!
  sleep 3  # the title and its tune
  end_desktop
  status=hung
  for _ in $(seq 50); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid"; status=$?; break
    fi
    sleep 0.1
  done
  [ "$status" = hung ] && kill -KILL "$game_pid" 2>/dev/null
  [ "$status" = 1 ] && ok=$((ok + 1))
  echo "run $run: $status ($(tail -1 "$work/game.log"))"
  wait "$desktop_pid" 2>/dev/null
  sleep 0.5
done
echo "$desktop: $ok of $runs runs ended with status 1 within 5 s"
[ "$ok" = "$runs" ]
