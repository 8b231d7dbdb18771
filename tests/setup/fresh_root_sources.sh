#!/bin/sh
# A fresh root gets the host's Debian 12 and 13 entries, from both of apt's source formats,
# renamed to the root's release, and nothing else the host reads; a host without a Debian 12 or
# 13 archive stops the check with a clear word.
# Usage: fresh_root_sources.sh FRESH_DEBIAN_SCRIPT WORK_DIR
set -eu
script=$1 dir=$2
rm -rf "$dir"
mkdir -p "$dir/sources.list.d"
cat >"$dir/sources.list" <<'END'
# a comment
deb [ arch=amd64 signed-by=/usr/share/keyrings/x.gpg ] http://one.example.org/debian bookworm main contrib
deb-src http://one.example.org/debian bookworm main
deb http://one.example.org/debian bullseye main
#deb http://old.example.org/debian bookworm main
END
cat >"$dir/sources.list.d/debian.sources" <<'END'
Types: deb deb-src
URIs: http://a.example.org/debian http://b.example.org/debian
Suites: bookworm-updates trixie
Components: main non-free-firmware

Types: deb
URIs: http://off.example.org/debian-security
Suites: bookworm-security
Components: main
Enabled: no

# lower case keys are keys too
types: deb
uris: http://security.example.org/debian-security
suites: bookworm-security
components: main
END
printf 'deb http://elsewhere.example.org/debian bookworm main\n' \
  >"$dir/sources.list.d/other.list.disabled"

expected='http://one.example.org/debian bookworm main contrib
http://a.example.org/debian bookworm-updates main non-free-firmware
http://a.example.org/debian bookworm main non-free-firmware
http://b.example.org/debian bookworm-updates main non-free-firmware
http://b.example.org/debian bookworm main non-free-firmware
http://security.example.org/debian-security bookworm-security main'
for release in bookworm trixie; do
  wanted=$(printf '%s\n' "$expected" | sed "s/ bookworm/ $release/")
  got=$(PITLOREX_APT_DIR=$dir "$script" $release --sources)
  if [ "$got" != "$wanted" ]; then
    printf '%s: expected:\n%s\ngot:\n%s\n' "$release" "$wanted" "$got"
    exit 1
  fi
done

# Only an updates suite: there is no archive to debootstrap from.
rm -f "$dir/sources.list" "$dir/sources.list.d/"*
printf 'deb http://a.example.org/debian trixie-updates main\n' >"$dir/sources.list"
if PITLOREX_APT_DIR=$dir "$script" --sources >"$dir/out" 2>&1; then
  echo "a host without a bookworm or trixie archive was accepted"
  exit 1
fi
grep -q 'no Debian archive' "$dir/out" || { cat "$dir/out"; exit 1; }
rm -rf "$dir"
