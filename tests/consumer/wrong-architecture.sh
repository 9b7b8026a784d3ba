#!/bin/sh
# A project of one architecture refuses the package of another when it configures, with a
# message that names both: installs the build tree, then configures tests/consumer against it
# with the toolchain file of the other architecture.
#   wrong-architecture.sh BUILD_DIR WORK_DIR OTHER_TOOLCHAIN_FILE
set -eu
build=$1
work=$2
toolchain=$3
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$work/install" >/dev/null
if cmake -S "$here" -B "$work/consumer" --toolchain "$toolchain" \
    -DCMAKE_PREFIX_PATH="$work/install" >"$work/configure.log" 2>&1; then
    echo "An $(basename "$toolchain") project accepted the package of $build" >&2
    exit 1
fi
# CMake wraps the message: one line, single spaces.
tr -s " \n" "  " <"$work/configure.log"
echo
