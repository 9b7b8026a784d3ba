#!/bin/sh
# Runs a Windows on ARM64 program of the build under the arm64 root's Wine (cmake/arm64-root.sh),
# in the prefix WINEPREFIX of that root (default /var/lib/dxdlg/wineprefix there).
export WINEPREFIX="${WINEPREFIX:-/var/lib/dxdlg/wineprefix}"
exec "$(dirname "$0")/arm64-root.sh" exec "$(dirname "$0")/wine-run.sh" "$@"
