#!/bin/sh
# The pitlorex command: runs the game in its data folder, where it reads every file, and
# passes its exit status on. Paths are found from this script's own place (links followed),
# so the same script serves /usr, any make-install prefix and an unpacked package.
root=$(readlink -f "$(dirname "$(readlink -f "$0")")/..")
cd "$root/share/games/pitlorex" || {
    echo "pitlorex: the game's data folder $root/share/games/pitlorex is missing" >&2
    exit 1
}
exec "$root/lib/games/pitlorex/pitlorex"
