#!/bin/sh
# The main job. Installs what is missing, builds, and shows what the library does:
#   with a display ($DISPLAY set): the demo driver under Wine, answered by you;
#   without one: the demo driver answering itself, then the gallery of every dialog with its
#   text-fit report at 96, 144 and 192 DPI (100, 150 and 200 %), on a virtual X display large
#   enough for the largest scale; it prints where the gallery's index.html is.
# Arguments are passed to the demo driver (try: tools/demo.sh --help, tools/demo.sh --lang ja;
# tools/demo.sh --spooler runs the job as the print spooler would, where each dialog reaches the
# user as a message in their session: the session API's stand-in shows it on the Wine desktop).
# Run as root on Debian 12 from anywhere in the checkout.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
tools/build.sh
prefix=$root/build/wineprefix
# The session API's stand-in (Wine's WTSSendMessageW is a stub), for the dialogs' messages when
# the job runs as the spooler runs it: in the prefix's system32, loaded in place of Wine's.
export DXDLG_WINEDLLOVERRIDES=wtsapi32=n

if [ -n "${DISPLAY:-}" ]; then
    # The build tree's own prefix (never the user's), created once, on the user's display.
    cmake/wine-prefix.sh start "$prefix"
    cp build/standin/wtsapi32.dll build/standin/dxdlg-sessionbox.exe "$prefix/drive_c/windows/system32/"
    status=0
    WINEPREFIX=$prefix cmake/wine-run.sh build/bin/dxdlg-demo.exe "$@" || status=$?
    cmake/wine-prefix.sh stop "$prefix"
    exit $status
fi

# No display: everything on a virtual one. The demo answers each dialog after 300 ms. The
# gallery runs once per scale, each on a Wine desktop of 1024 x 768 at 96 DPI scaled by the
# DPI, so the display holds 2048 x 1536 (the demo's own desktop stays 1024 x 768).
status=0
xvfb-run -a -s "-screen 0 2048x1536x24" sh -c '
    root=$1; prefix=$2; shift 2
    cd "$root/build"
    "$root/cmake/wine-prefix.sh" start "$prefix"
    cp "$root/build/standin/wtsapi32.dll" "$root/build/standin/dxdlg-sessionbox.exe" "$prefix/drive_c/windows/system32/"
    status=0
    echo "== The demo driver, answering each dialog itself"
    WINEPREFIX=$prefix "$root/cmake/wine-run.sh" bin/dxdlg-demo.exe --auto 300 "$@" || status=1
    echo
    echo "== The gallery: every dialog at 96, 144 and 192 DPI, captured into build/gallery"
    WINEPREFIX=$prefix "$root/cmake/wine-run.sh" bin/dxdlg-gallery.exe --scales 96,144,192 gallery || status=1
    "$root/cmake/wine-prefix.sh" stop "$prefix"
    exit $status
' sh "$root" "$prefix" "$@" || status=$?
echo
echo "Gallery (a switch at the top chooses the scale): $root/build/gallery/index.html"
echo "Text-fit report, every scale: $root/build/gallery/textfit.txt"
exit $status
