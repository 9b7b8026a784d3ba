#!/bin/sh
# Benchmarks of dxdlg.dll (not part of the tests): installs what is missing, builds the x86-64 DLL
# that ships (preset "clang"; `tools/bench.sh default` for the gcc build) with the benchmarks,
# runs dxdlg-bench.exe under Wine on a virtual X display, then builds the ARM64 DLL too and
# prints each DLL's size and import list. Takes a minute or two. Run as root on Debian 12 from
# anywhere in the checkout.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
preset=${1:-clang}
build=build-$preset
[ "$preset" != default ] || build=build
tools/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target dxdlg-bench >/dev/null
prefix=$root/build/wineprefix

status=0
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    root=$1; prefix=$2; build=$3
    cd "$root/$build/bin"
    "$root/cmake/wine-prefix.sh" start "$prefix"
    status=0
    WINEPREFIX=$prefix "$root/cmake/wine-run.sh" ./dxdlg-bench.exe || status=1
    "$root/cmake/wine-prefix.sh" stop "$prefix"
    exit $status
' sh "$root" "$prefix" "$build" || status=$?

cmake --preset arm64 >/dev/null
cmake --build --preset arm64 >/dev/null
for dll in "$build/bin/dxdlg.dll" build-arm64/bin/dxdlg.dll; do
    machine=$(llvm-readobj-14 --file-headers "$dll" | awk '/Machine:/ { print $2; exit }')
    echo "The DLL: $dll ($machine), $(stat -c %s "$dll") bytes"
    echo "It imports:"
    llvm-readobj-14 --coff-imports "$dll" | awk '
        /^ *Name: / { if (name) print_dll(); name = $2; list = ""; count = 0; next }
        /^ *Symbol: / { list = list " " $2; count++ }
        function print_dll() { printf "  %s (%d):%s\n", name, count, list }
        END { if (name) print_dll() }' | fold -s -w 100 | sed 's/^\([^ ]\)/      \1/'
done
exit $status
