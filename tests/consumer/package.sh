#!/bin/sh
# The package as a driver team receives it: installs the build tree, checks the layout, checks
# that cpack's ZIP holds the same files under dxdlg-VERSION-$PACKAGE_SUFFIX/ (win64 by default,
# or win-arm64), then configures, builds and runs tests/consumer against the unpacked ZIP with
# find_package, under Wine ($RUN runs a program of the architecture). SYMBOLS=ON: a build that
# ships, whose package holds bin/dxdlg.pdb too.
#   package.sh BUILD_DIR WORK_DIR VERSION TOOLCHAIN_FILE
set -eu
build=$1
work=$2
version=$3
toolchain=$4
here=$(cd "$(dirname "$0")" && pwd)
top=dxdlg-$version-${PACKAGE_SUFFIX:-win64}
RUN=${RUN:-$here/../../cmake/wine-run.sh}

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$work/install" >/dev/null

expected="bin/dxdlg.dll
$([ "${SYMBOLS:-OFF}" != ON ] || echo bin/dxdlg.pdb)
include/dxdlg.h
lib/dxdlg.lib
lib/libdxdlg.dll.a
share/dxdlg/LICENSE
share/dxdlg/dxdlg.def
share/dxdlg/dxdlgConfig.cmake
share/dxdlg/dxdlgConfigVersion.cmake"
expected=$(echo "$expected" | sed '/^$/d')
installed=$(cd "$work/install" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$installed" != "$expected" ]; then
    printf 'Installed files:\n%s\nexpected:\n%s\n' "$installed" "$expected" >&2
    exit 1
fi

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null)
zip=$work/package/$top.zip
if [ ! -f "$zip" ]; then
    echo "cpack made no $top.zip:" "$(ls "$work/package")" >&2
    exit 1
fi
mkdir -p "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
packed=$(cd "$work/unpacked/$top" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$packed" != "$expected" ]; then
    printf '%s holds:\n%s\nexpected:\n%s\n' "$top.zip" "$packed" "$expected" >&2
    exit 1
fi

cmake -S "$here" -B "$work/consumer" --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$work/unpacked/$top" >"$work/consumer.log" 2>&1 &&
    cmake --build "$work/consumer" >>"$work/consumer.log" 2>&1 || {
    cat "$work/consumer.log" >&2
    exit 1
}
# The exit code is the number of the check in tests/consumer/caller.c that failed.
"$RUN" "$work/consumer/consumer.exe" || { echo "consumer.exe: check $? failed" >&2; exit 1; }
echo "$top.zip: installed layout, find_package(dxdlg) and dxdlg::dxdlg work; consumer.exe passed"
