#!/bin/sh
# Runs a Windows program of the build under Wine, in the build tree's own prefix (never the
# user's). The prefix is WINEPREFIX when set, else the folder "wineprefix" next to the
# program's folder. DXDLG_WINEDLLOVERRIDES adds overrides of its own, for example
# "wtsapi32=n" for the session API's stand-in (docs/building.md).
exe=$1
if [ -z "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$(cd "$(dirname "$exe")/.." && pwd)/wineprefix
fi
export WINEPREFIX
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=${DXDLG_WINEDLLOVERRIDES:+;$DXDLG_WINEDLLOVERRIDES}"
exec /usr/lib/wine/wine64 "$@"
