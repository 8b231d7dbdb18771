#!/bin/sh
# The fresh root gets the host's Debian 12 entries, from both of apt's source formats, and
# nothing else the host reads; a host without Debian 12 stops the check with a clear word.
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
http://b.example.org/debian bookworm-updates main non-free-firmware
http://security.example.org/debian-security bookworm-security main'
got=$(PITLOREX_APT_DIR=$dir "$script" --sources)
if [ "$got" != "$expected" ]; then
  printf 'expected:\n%s\ngot:\n%s\n' "$expected" "$got"
  exit 1
fi

# Only the updates suite left: there is no archive to debootstrap from.
rm "$dir/sources.list"
if PITLOREX_APT_DIR=$dir "$script" --sources >"$dir/out" 2>&1; then
  echo "a host without a bookworm entry was accepted"
  exit 1
fi
grep -q 'no Debian 12' "$dir/out" || { cat "$dir/out"; exit 1; }
rm -rf "$dir"
