#!/bin/sh
# What the Debian package holds: its control fields and dependencies, the game folder of the
# build byte for byte, the MIDI patches reached through freepats (none copied), the icons at
# their sizes, and the menu entry and AppStream metadata passing their validators.
# Usage: check_package.sh DEB GAME_DIR
set -u
deb=$1 game=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb cannot unpack $deb" >&2; exit 1; }
data=$root/usr/share/games/pitlorex

# Dependencies: the shared libraries the game links, and the two packages nothing links. A
# release may have renamed a library's package (Debian 13's liballegro4.4t64): the new name
# counts where this machine's package of that name provides the old one.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
provides_old_name() {
    dpkg-query -W -f='${Provides}' "$2" 2>/dev/null | tr ',' '\n' | sed 's/ *(.*//; s/^ *//' |
        grep -qx "$1"
}
for wanted in freepats x11-utils liballegro4.4 libfreetype6 libc6 libstdc++6; do
    case ", $depends," in *", $wanted "* | *", $wanted,"*) continue ;; esac
    renamed=$(echo "$depends" | tr ',' '\n' | sed 's/ *(.*//; s/^ *//' | grep -x "${wanted}t64")
    [ -n "$renamed" ] && provides_old_name "$wanted" "$renamed" && continue
    fail "Depends lacks $wanted"
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
# The version is written in three places; a release must change them together.
version=$(dpkg-deb -f "$deb" Version)
zcat "$root/usr/share/doc/pitlorex/changelog.gz" | head -1 | grep -qF "pitlorex ($version)" ||
    fail "the changelog's last entry is not version $version"
grep -qF "<release version=\"$version\"" "$root"/usr/share/metainfo/*.metainfo.xml ||
    fail "the metainfo lists no release $version"

# The command and the game.
[ -x "$root/usr/games/pitlorex" ] || fail "no executable /usr/games/pitlorex"
file -b "$root/usr/lib/games/pitlorex/pitlorex" | grep -q "ELF.*, stripped" ||
    fail "/usr/lib/games/pitlorex/pitlorex is not a stripped executable"

# The command passes the game's exit status on: with no display the game stops with Erro 01
# and status 1. Without the data folder the command itself says so and ends with status 1.
cd /
err=$(env -u DISPLAY "$root/usr/games/pitlorex" 2>&1 >/dev/null)
status=$?
[ "$status" -eq 1 ] || fail "with no display the command ended with status $status, not 1"
echo "$err" | grep -q "Pitlorex - Erro 01" || fail "with no display the command said: $err"
mv "$data" "$data.away"
err=$("$root/usr/games/pitlorex" 2>&1)
status=$?
mv "$data.away" "$data"
[ "$status" -eq 1 ] || fail "without its data the command ended with status $status, not 1"
echo "$err" | grep -q "data folder" || fail "without its data the command said: $err"

# Every file of the build's game folder, the same bytes, but for the executable, the patch
# links (checked below) and a settings file left by a run in the build folder.
(cd "$game" && find . -type f ! -path ./pitlorex ! -path './sons/patches/*' ! -name allegro.cfg) |
while read -r f; do
    cmp -s "$game/$f" "$data/$f" || echo "$f"
done > "$root.missing"
[ -s "$root.missing" ] && fail "game files missing or different in the package: $(cat "$root.missing")"
rm -f "$root.missing"
[ -f "$data/fases/fase20.plo" ] || fail "no levels in the package"
[ -e "$data/allegro.cfg" ] && fail "a settings file left by a run is in the package"
for font in flame.ttf AIRLOCK.ttf; do
    [ -f "$data/fontes/$font.LICENSE.txt" ] || fail "$font comes without its licence"
done
grep -q "^License: OFL-1.1" "$root/usr/share/doc/pitlorex/copyright" || fail "copyright names no OFL"

# The patch list's folders are links that lead, from their installed place, into freepats;
# every patch it names exists there; no patch is in the package.
patches=/usr/share/games/pitlorex/sons/patches
[ -f "$root$patches/default.cfg" ] || fail "no patch list"
links=0
for link in "$root$patches"/*; do
    [ -L "$link" ] || continue
    links=$((links + 1))
    target=$(readlink "$link")
    case $target in /*) fail "$link points at the absolute $target" ;; esac
    real=$(realpath -m "$patches/$target")
    case $real in /usr/share/midi/freepats/*) ;; *) fail "$link leads to $real, not freepats" ;; esac
done
[ "$links" -gt 0 ] || fail "the patch folder holds no links"
awk '$1 ~ /^[0-9]+$/ && $2 ~ /[.]pat$/ { print $2 }' "$root$patches/default.cfg" | while read -r pat; do
    folder=$(realpath -m "$patches/$(readlink "$root$patches/${pat%%/*}")")
    [ -f "$folder/${pat#*/}" ] || echo "$pat"
done > "$root.nopatch"
[ -s "$root.nopatch" ] && fail "patches of default.cfg missing from freepats: $(head -3 "$root.nopatch")"
rm -f "$root.nopatch"
find "$root" -name '*.pat' | grep -q . && fail "the package copies MIDI patches"

# Icons at their sizes, with a clear background, for the name the menu entry gives.
grep -q "^Icon=pitlorex$" "$root/usr/share/applications/pitlorex.desktop" || fail "menu entry names another icon"
for size in 16 32 48 256; do
    png=$root/usr/share/icons/hicolor/${size}x$size/apps/pitlorex.png
    file -b "$png" | grep -q "PNG image data, $size x $size, 8-bit/color RGBA," ||
        fail "$png is not a $size px PNG with alpha"
done

# The menu entry and the metadata, as installed.
desktop-file-validate "$root/usr/share/applications/pitlorex.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree"

[ "$failures" -eq 0 ] || exit 1
echo "package contents as expected"
