#!/bin/sh
# The game's own build (`make play`): with the tests off, the project configures without
# GoogleTest and has no test or bench target. (Xlib itself the game uses: the X test
# libraries come with it in one CMake package, so only GoogleTest can be held back here.)
# Usage: play_configure.sh CMAKE SOURCE_DIR BUILD_DIR
set -eu
cmake=$1 source=$2 build=$3
rm -rf "$build"
if ! "$cmake" -S "$source" -B "$build" -DBUILD_TESTING=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
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
