#!/bin/sh
# Fails when a layer's library calls a function that only a library above it defines: the
# include roots already stop an upward include, this stops a call declared by hand.
# Usage: check_layer_calls.sh STAMP LIBRARY... (the libraries from the bottom layer up)
set -eu
stamp=$1
shift
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Strong definitions only: inline functions and templates are weak copies in every user.
defined() {
    nm -g -P --defined-only "$1" | awk 'NF >= 2 && $2 ~ /^[TDBR]$/ { print $1 }' | sort -u
}
undefined() {
    nm -g -P --undefined-only "$1" | awk 'NF >= 2 && $2 == "U" { print $1 }' | sort -u
}

failed=0
while [ $# -gt 1 ]; do
    lower=$1
    shift
    undefined "$lower" >"$tmp/calls"
    for upper in "$@"; do
        defined "$upper" | comm -12 "$tmp/calls" - >"$tmp/upward"
        if [ -s "$tmp/upward" ]; then
            where="$(basename "$lower") calls upward into $(basename "$upper")"
            c++filt <"$tmp/upward" | sed "s|^|$where: |" >&2
            failed=1
        fi
    done
done
[ "$failed" -eq 0 ] && touch "$stamp"
exit "$failed"
