#!/bin/sh
# Builds the Debian package from the build folder with CPack into OUT and checks that it came
# out under the name Debian expects.
# Usage: build_package.sh CPACK BUILD_DIR OUT_DIR EXPECTED_FILE_NAME
set -eu
cpack=$1 build=$2 out=$3 deb=$4
rm -rf "$out"
"$cpack" --config "$build/CPackConfig.cmake" -B "$out"
if [ ! -f "$out/$deb" ]; then
    echo "FAIL: expected $out/$deb; CPack made:" >&2
    ls -l "$out" >&2
    exit 1
fi
