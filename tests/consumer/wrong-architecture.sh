#!/bin/sh
# find_package(dxdlg) takes the package of the project's architecture: installs the build tree,
# and beside it a copy that says it holds the other architecture's DLL (as the other package
# does). A project of the other architecture refuses this package alone, with a message that
# names both, and takes the copy when both are on the prefix path; a project of this
# architecture takes this package when the copy comes first.
#   wrong-architecture.sh BUILD_DIR WORK_DIR OTHER_TOOLCHAIN_FILE THIS_TOOLCHAIN_FILE
set -eu
build=$1
work=$2
toolchain=$3
own=$4
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$work/install" >/dev/null
this=$(sed -n 's/^set(_dxdlg_architecture "\(.*\)")$/\1/p' "$work/install/share/dxdlg/dxdlgConfigVersion.cmake")
other=$([ "$this" = x64 ] && echo arm64 || echo x64)
cp -R "$work/install" "$work/other"
sed -i "s/^set(_dxdlg_architecture \"$this\")$/set(_dxdlg_architecture \"$other\")/" \
    "$work/other/share/dxdlg/dxdlgConfigVersion.cmake"

# configure NAME TOOLCHAIN PREFIX_PATH: the package found (dxdlg_DIR), or nothing.
configure() {
    cmake -S "$here" -B "$work/$1" --toolchain "$2" -DCMAKE_PREFIX_PATH="$3" >"$work/$1.log" 2>&1 &&
        sed -n 's/^dxdlg_DIR:PATH=//p' "$work/$1/CMakeCache.txt"
}
if configure alone "$toolchain" "$work/install"; then
    echo "An $(basename "$toolchain") project accepted the package of $build" >&2
    exit 1
fi
found=$(configure both "$toolchain" "$work/install;$work/other") || { cat "$work/both.log" >&2; exit 1; }
[ "$found" = "$work/other/share/dxdlg" ] || { echo "the $other project took $found" >&2; exit 1; }
found=$(configure own "$own" "$work/other;$work/install") || { cat "$work/own.log" >&2; exit 1; }
[ "$found" = "$work/install/share/dxdlg" ] || { echo "the $this project took $found" >&2; exit 1; }
# CMake wraps the message: one line, single spaces.
tr -s " \n" "  " <"$work/alone.log"
echo
