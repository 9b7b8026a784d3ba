#!/bin/sh
# Benchmarks of dxdlg.dll (not part of the tests): installs what is missing, builds the x86-64 DLL
# that ships (preset "clang"; `tools/bench.sh default` for the gcc build) with the benchmarks,
# runs dxdlg-bench.exe under Wine on a virtual X display, counts the openings in requests to the
# Wine server (a second run under the server's trace, kept in BUILD/bench-requests.log), then
# builds the ARM64 DLL too and prints each DLL's size and import list. Takes two minutes or so;
# `tools/bench.sh PRESET requests` only counts the requests. Run as root on Debian 12 from
# anywhere in the checkout.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
preset=${1:-clang}
only=${2:-}
build=build-$preset
[ "$preset" != default ] || build=build
tools/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target dxdlg-bench >/dev/null
prefix=$root/build/wineprefix

status=0
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    root=$1; prefix=$2; build=$3; only=$4
    cd "$root/$build/bin"
    "$root/cmake/wine-prefix.sh" start "$prefix"
    status=0
    [ "$only" = requests ] || WINEPREFIX=$prefix "$root/cmake/wine-run.sh" ./dxdlg-bench.exe || status=1
    "$root/cmake/wine-prefix.sh" stop "$prefix"
    # The server traces requests only when its first client starts it under +server, so this
    # run starts a server of its own; the trace of every process goes to the one file.
    WINEPREFIX=$prefix wineserver -w
    echo "Opening the duplex dialog (cassette, first pass) in requests to the Wine server, from the"
    echo "call to the first idle moment, three times each after a warm-up:"
    WINEPREFIX=$prefix WINEDEBUG=+server,+debugstr "$root/cmake/wine-run.sh" ./dxdlg-bench.exe requests \
        2>"$root/$build/bench-requests.log" || status=1
    WINEPREFIX=$prefix wineserver -w
    awk -f "$root/tools/count-requests.awk" "$root/$build/bench-requests.log" || status=1
    echo
    exit $status
' sh "$root" "$prefix" "$build" "$only" || status=$?
[ "$only" != requests ] || exit $status

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
