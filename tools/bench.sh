#!/bin/sh
# Benchmarks of dxdlg.dll (not part of the tests): installs what is missing, builds, runs
# build/bin/dxdlg-bench.exe under Wine on a virtual X display, then prints the DLL's size and
# import list. Takes a minute or two. Run as root on Debian 12 from anywhere in the checkout.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
tools/build.sh
prefix=$root/build/wineprefix

status=0
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    root=$1; prefix=$2
    cd "$root/build/bin"
    "$root/cmake/wine-prefix.sh" start "$prefix"
    status=0
    WINEPREFIX=$prefix "$root/cmake/wine-run.sh" ./dxdlg-bench.exe || status=1
    "$root/cmake/wine-prefix.sh" stop "$prefix"
    exit $status
' sh "$root" "$prefix" || status=$?

dll=build/bin/dxdlg.dll
echo "The DLL: $dll, $(stat -c %s "$dll") bytes"
echo "It imports:"
x86_64-w64-mingw32-objdump -p "$dll" | awk '
    /DLL Name:/ { if (name) print_dll(); name = $3; list = ""; count = 0; next }
    name && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { list = list " " $3; count++ }
    function print_dll() { printf "  %s (%d):%s\n", name, count, list }
    END { if (name) print_dll() }' | fold -s -w 100 | sed 's/^\([^ ]\)/      \1/'
exit $status
