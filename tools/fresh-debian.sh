#!/usr/bin/env bash
# The README's two commands on a fresh Debian 12 or 13, as a new user meets them: a minbase root
# made by debootstrap from the archive this machine's apt uses, plus make and ca-certificates,
# gets a clone of this repository's HEAD; there, as root, `make play` with no display must
# build and end in the Erro 01 message with status 1 (the game ran), having installed no test
# package; then `make test` must pass, `make play` on a private Xvfb must show the title and
# end with status 0 from "Sair" (tools/quit-from-title.sh), and `make every-target` must build
# every other target (the bench, which it runs once in short form, the levels sheet, the
# package). All of it with compiler warnings as errors (WERROR=ON).
# Usage (as root): tools/fresh-debian.sh [RELEASE]   (bookworm or trixie; `make fresh-check`
#                                                     runs both)
#        tools/fresh-debian.sh [RELEASE] --sources   prints the apt entries the root gets, and stops
# The pristine root is kept as a tarball per release, one a day, in PITLOREX_FRESH_CACHE
# (/var/cache/pitlorex-fresh); each run unpacks a copy under /var/tmp and removes it after. The
# packages downloaded are kept there too (archives/), shared by both releases' roots and runs.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${PITLOREX_FRESH_CACHE:-/var/cache/pitlorex-fresh}
suite=bookworm
case "${1:-}" in bookworm|trixie) suite=$1; shift ;; esac  # the releases named below too
apt_dir=${PITLOREX_APT_DIR:-/etc/apt}  # whose sources to follow: the host's
chroot_path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

say() { printf 'fresh-debian: %s\n' "$*" >&2; }
fail() { say "FAILED: $*"; exit 1; }

# ---- The archive: the host's own Debian entries, for the release asked -------------------

# Every "uri suite components..." the host's apt reads, from both source formats.
host_sources() {
  local f
  for f in "$apt_dir/sources.list" "$apt_dir/sources.list.d/"*.list; do
    [ -f "$f" ] || continue
    awk '$1 == "deb" { i = 2; if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
                       line = $i; for (j = i + 1; j <= NF; j++) line = line " " $j; print line }' "$f"
  done
  for f in "$apt_dir/sources.list.d/"*.sources; do
    [ -f "$f" ] || continue
    awk 'function flush(  n, m, a, b, u, s) {
           if (types ~ /(^| )deb( |$)/ && enabled != "no") {
             n = split(uris, u, " "); m = split(suites, s, " ")
             for (a = 1; a <= n; a++) for (b = 1; b <= m; b++) print u[a], s[b], comps
           }
           types = uris = suites = comps = enabled = ""
         }
         /^[ \t]*#/ { next }
         /^[ \t]*$/ { flush(); next }
         { key = tolower($1); sub(/:$/, "", key); $1 = ""; sub(/^ +/, "")
           if (key == "types") types = $0; else if (key == "uris") uris = $0
           else if (key == "suites") suites = $0; else if (key == "components") comps = $0
           else if (key == "enabled") enabled = tolower($0) }
         END { flush() }' "$f"
  done
}

# The host's entries of either release serve both, renamed: Debian's archive holds both
# (their -updates and -security suites too).
releases="bookworm trixie"
debian_sources=$(host_sources | awk -v r="$releases" -v s="$suite" '
  BEGIN { split(r, names, " "); for (i in names) known[names[i]] = 1 }
  { base = $2; sub(/-(updates|security)$/, "", base)
    if (!(base in known)) next
    sub("^" base, s, $2)
    if (!seen[$0]++) print }')
mirror=$(printf '%s\n' "$debian_sources" | awk -v s="$suite" '$2 == s { print $1; exit }')
[ -n "$mirror" ] || fail "this machine's apt has no Debian archive for $suite in $apt_dir/sources.list*"
if [ "${1:-}" = --sources ]; then
  printf '%s\n' "$debian_sources"
  exit 0
fi
[ $# -eq 0 ] || { echo "usage: tools/fresh-debian.sh [bookworm|trixie] [--sources]" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || fail "run it as root: debootstrap, chroot and mount need it"
commit=$(git -C "$repo" rev-parse HEAD 2>/dev/null) || fail "$repo is not a git checkout"

# ---- Mounts and folders: nothing is removed while something is mounted under it ----------

mounts_under() {
  awk -v d="$1" '$2 == d || index($2, d "/") == 1 { print $2 }' /proc/self/mounts
}

# Deepest first, so that each mount point is free when its turn comes.
unmount_under() {
  local m
  mounts_under "$1" | sort -r | while read -r m; do
    umount "$m" 2>/dev/null || umount -l "$m" || say "could not unmount $m"
  done
}

# Processes left in a root (an X server, a build) keep its mounts busy and go on writing in
# it; they are ours. Looked for again until none is left: a build forks while it is stopped.
stop_processes_in() {
  local p found tries
  for tries in $(seq 100); do
    found=""
    for p in /proc/[0-9]*; do
      if [ "$(readlink "$p/root" 2>/dev/null)" = "$1" ]; then
        found=1
        kill -KILL "${p#/proc/}" 2>/dev/null || true
      fi
    done
    [ -n "$found" ] || return 0
    sleep 0.1
  done
  say "processes still run in $1"
}

remove_tree() {
  [ -e "$1" ] || return 0
  unmount_under "$1"
  if [ -n "$(mounts_under "$1")" ]; then
    say "left $1 in place: something is still mounted under it"
    return 1
  fi
  rm -rf --one-file-system "$1"
}

staging="" run=""
cleanup() {
  local status=$? job
  set +e  # every step runs, whatever failed before it
  for job in $(jobs -p); do kill "$job" 2>/dev/null; done
  [ -n "$run" ] && { stop_processes_in "$run/root"; remove_tree "$run" || status=1; }
  [ -n "$staging" ] && { stop_processes_in "$staging/root"; remove_tree "$staging" || status=1; }
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

say "$suite: archive $mirror, commit $commit"

# ---- The pristine root, made once a day ----------------------------------------------------

archives=$cache/archives
mkdir -p "$cache" "$archives/partial"
tarball=$cache/$suite-minbase-$(date -u +%Y%m%d).tar.gz
started=$SECONDS
exec 9>"$cache/lock"
flock 9
if [ ! -s "$tarball" ]; then
  if ! command -v debootstrap >/dev/null; then
    say "installing debootstrap"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
  fi
  staging=$(mktemp -d "$cache/staging.XXXXXX")
  say "debootstrap $suite (minbase, make, ca-certificates) into $staging"
  # In the background, as the builds below: a signal then ends the script at once.
  debootstrap --variant=minbase --include=make,ca-certificates --cache-dir="$archives" \
    "$suite" "$staging/root" "$mirror" >"$staging/debootstrap.log" 2>&1 &
  if ! wait $!; then
    tail -n 30 "$staging/debootstrap.log" >&2
    fail "debootstrap did not finish"
  fi
  unmount_under "$staging/root"
  tar --numeric-owner -C "$staging/root" -czf "$tarball.part" .
  mv "$tarball.part" "$tarball"
  remove_tree "$staging"
  staging=""
  find "$cache" -maxdepth 1 -name "$suite-minbase-*.tar.gz" ! -path "$tarball" -delete
fi
flock -u 9
pristine_seconds=$((SECONDS - started))

# ---- A fresh copy with the commit under test -----------------------------------------------

run=$(mktemp -d /var/tmp/pitlorex-fresh.XXXXXX)
root=$run/root
mkdir "$root"
tar --numeric-owner -C "$root" -xzf "$tarball"

printf '%s\n' "$debian_sources" | sed 's/^/deb /' >"$root/etc/apt/sources.list"
rm -f "$root/etc/apt/sources.list.d/"*
rm -f "$root/etc/resolv.conf"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
# Packages must not start services in a root that runs none.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

git clone --quiet --no-hardlinks --no-checkout "$repo" "$root/root/pitlorex"
git -C "$root/root/pitlorex" checkout --quiet --detach "$commit"

# /dev is a tmpfs of its own with the host's plain devices bound in, so nothing run in the
# root can change the host's /dev; pseudo-terminals get a private devpts instance.
mount -t proc proc "$root/proc"
mount -t sysfs -o ro sysfs "$root/sys"
mount -t tmpfs -o mode=755,nosuid dev "$root/dev"
for node in null zero full random urandom tty; do
  touch "$root/dev/$node"
  mount --bind "/dev/$node" "$root/dev/$node"
done
ln -s /proc/self/fd "$root/dev/fd"
ln -s /proc/self/fd/0 "$root/dev/stdin"
ln -s /proc/self/fd/1 "$root/dev/stdout"
ln -s /proc/self/fd/2 "$root/dev/stderr"
mkdir "$root/dev/pts" "$root/dev/shm"
mount -t devpts -o newinstance,ptmxmode=0666,mode=620,gid=5 devpts "$root/dev/pts"
ln -s pts/ptmx "$root/dev/ptmx"
mount -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"
mount -t tmpfs -o mode=1777,nosuid tmp "$root/tmp"
# Packages downloaded once serve every later root, of either release: apt checks each file
# against the archive's own hashes, so a shared folder is safe.
mount --bind "$archives" "$root/var/cache/apt/archives"

# Runs a command in the clone as a new user's root shell would: no DISPLAY, nothing inherited
# but WERROR=ON, which the Makefile reads, so that any compiler warning fails the run.
# Usage: in_root SECONDS COMMAND
in_root() {
  timeout "$1" env -i HOME=/root PATH="$chroot_path" LANG=C.UTF-8 TERM=dumb WERROR=ON \
    chroot "$root" /bin/sh -c "cd /root/pitlorex && $2"
}
# Runs in_root with its output in LOG and on the terminal; sets `status` to its exit status.
# In the background, since bash runs a trap only once the command in the foreground is over:
# a signal must end the script at once, not after the build.
# Usage: logged_in_root SECONDS COMMAND LOG
logged_in_root() {
  : >"$3"  # there before tail looks for it
  in_root "$1" "$2" >"$3" 2>&1 &
  local child=$!
  tail -n +1 -f --pid="$child" "$3" &
  status=0
  wait "$child" || status=$?
  wait
}
installed_in_root() {
  in_root 60 "dpkg-query -W -f='\${Status}' $1 2>/dev/null | grep -q 'install ok installed'"
}

# ---- make play: builds, then the game meets no display -------------------------------------

started=$SECONDS
logged_in_root 1800 'make play' "$run/play.log"
play_status=$status
play_seconds=$((SECONDS - started))
[ -x "$root/root/pitlorex/build/game/pitlorex" ] || fail "make play built no game"
grep -q 'Pitlorex - Erro 01' "$run/play.log" || fail "make play: the game did not show Erro 01"
# make reports the status of the recipe line that ran the game.
grep -Eq '^make: \*\*\* \[Makefile:[0-9]+: play\] Error 1$' "$run/play.log" \
  || fail "make play: the game did not end with status 1 (make's status $play_status)"
[ "$play_status" -eq 2 ] || fail "make play ended with status $play_status, not make's 2"
installed_in_root libgtest-dev && fail "make play installed a test package (libgtest-dev)"
[ -e "$root/root/pitlorex/build/tests" ] && fail "make play configured the tests"
say "make play: built, Erro 01, status 1 ($play_seconds s)"

# ---- make test: everything installed, built and passing ------------------------------------

started=$SECONDS
logged_in_root 2400 'make test' "$run/test.log"
test_status=$status
test_seconds=$((SECONDS - started))
[ "$test_status" -eq 0 ] || fail "make test ended with status $test_status ($test_seconds s)"
grep -Eq 'level_reader_fuzz .*Passed' "$run/test.log" || fail "make test ran no level reader fuzzer"
say "make test: $(grep -Eo '[0-9]+% tests passed.*' "$run/test.log" | tail -n 1) ($test_seconds s)"

# ---- make play on a display: the title comes up and "Sair" ends it with status 0 -------------

logged_in_root 600 'tools/quit-from-title.sh /tmp/title.png' "$run/quit.log"
[ "$status" -eq 0 ] || fail "make play on a display did not end with status 0 from the title"
cp "$root/tmp/title.png" "$cache/title-$suite.png" 2>/dev/null || true
say "make play on a display: the title, \"Sair\", status 0 (screenshot $cache/title-$suite.png)"

# ---- Every other target: the bench (once, short), the levels sheet, the package -------------

started=$SECONDS
logged_in_root 2400 'make every-target' "$run/targets.log"
targets_status=$status
targets_seconds=$((SECONDS - started))
[ "$targets_status" -eq 0 ] || fail "make every-target ended with status $targets_status"
say "make every-target: built and ran ($targets_seconds s)"
say "$suite times: pristine root $pristine_seconds s, make play $play_seconds s," \
    "make test $test_seconds s, make every-target $targets_seconds s"
