#!/bin/sh
# The game's own build (`make play`): with the tests off, the project configures with neither
# GoogleTest nor the X libraries that only the tests use, and has no test or bench target.
# Usage: play_configure.sh CMAKE SOURCE_DIR BUILD_DIR
set -eu
cmake=$1 source=$2 build=$3
rm -rf "$build"
if ! "$cmake" -S "$source" -B "$build" -DBUILD_TESTING=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_X11=ON \
    >"$build.log" 2>&1; then
  cat "$build.log"
  echo "the game's build wants a test package"
  exit 1
fi
targets=$("$cmake" --build "$build" --target help)
for target in unit_tests game_e2e_tests e2e_rig bench empty_window; do
  if printf '%s\n' "$targets" | grep -qw "$target"; then
    echo "the game's build has the target $target"
    exit 1
  fi
done
rm -rf "$build" "$build.log"
