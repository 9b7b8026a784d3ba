#!/bin/sh
# Prepares the build tree's Wine prefix and starts or stops its server.
#   wine-prefix.sh start PREFIX   create the prefix once, then start a persistent server
#   wine-prefix.sh stop PREFIX    stop the server
# The server and the desktop are started here with their output on /dev/null: started by a
# test instead, they would inherit the test's pipes and CTest would wait for them.
set -eu
action=$1
prefix=$2
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

# Bump the marker's number when the set-up changes, so that existing prefixes are set up again.
ready=.dxdlg-ready-4

# Wine looks links up by the name of the face it draws with, so the bold caption font ("Tahoma
# Bold") needs a link of its own, and so does the face that Wine draws in place of one that the
# system lacks (the duplex templates name such a face): Liberation Sans, which stands in for
# Arial, or DejaVu Sans where that is missing. Windows links the fonts it substitutes likewise.
add_substitute_font_links() {
    for face in 'Tahoma Bold' 'Liberation Sans' 'DejaVu Sans'; do
        "$wine" reg.exe add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f
    done
}

create_prefix() {
    "$wine" wineboot.exe -i
    wineserver -w
    # A virtual desktop: Wine then draws captions and frames itself, and hidden windows do not
    # wait for a window manager that is not there.
    "$wine" reg.exe add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    "$wine" reg.exe add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
    # Japanese, Korean and Chinese glyphs through Tahoma's font link, as Windows ships it.
    "$wine" reg.exe add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f
    "$wine" reg.exe add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v 'MS Shell Dlg' /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f
    # Arial, which the manual-feed templates name, drawn with its metric-compatible twin.
    "$wine" reg.exe add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f
    wineserver -w
    add_substitute_font_links
    # What test runs of earlier versions left behind: the settings (an every-language
    # countryCode, long time-outs) and a screen DPI. Tests now put back what they change.
    "$wine" reg.exe delete 'HKLM\Software\orvanta\osplproc' /f || true
    "$wine" reg.exe delete 'HKCU\Control Panel\Desktop' /v LogPixels /f || true
    # Tahoma and the other metrics-compatible fonts that Debian's Wine leaves outside the prefix.
    for font in /usr/share/wine/fonts/*.ttf; do
        ln -sf "$font" "$prefix/drive_c/windows/Fonts/"
    done
    touch "$prefix/$ready"
}

case $action in
start)
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/$ready" ]; then
            create_prefix >/dev/null 2>&1
        fi
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        wineserver -p >/dev/null 2>&1 </dev/null
        "$wine" cmd.exe /c exit >/dev/null 2>&1 </dev/null
    ) 9>"$prefix.lock"
    ;;
stop)
    wineserver -k >/dev/null 2>&1 || true
    ;;
*)
    echo "usage: $0 start|stop PREFIX" >&2
    exit 2
    ;;
esac
