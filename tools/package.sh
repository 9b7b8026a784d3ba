#!/bin/sh
# The release: installs what is missing, builds dxdlg.dll for x86-64 (preset "clang") and ARM64
# (preset "arm64") with clang 16 and lld 16 and every protection of cmake/hardening.cmake, which
# the build checks (cmake/check-dll.sh --shipped), and writes into dist/:
#   dxdlg-VERSION-win64.zip, dxdlg-VERSION-win-arm64.zip
# each holding dxdlg-VERSION-SUFFIX/ with the layout of `cmake --install` (cmake/package.cmake),
# the DLL's symbols in bin/dxdlg.pdb among it. It builds the committed tree (HEAD; uncommitted
# changes are left out) in one fixed folder, /tmp/dxdlg-release: the PDB records the folders of
# the build, the PDB's GUID is a hash of the PDB and the DLL's time stamps a hash of the DLL, so
# the same commit gives the same bytes whatever folder the checkout is in. A run waits for any
# other run's build in that folder to end (flock on /tmp/dxdlg-release.lock). The ZIPs' entries
# carry the commit's time (tools/zip.py). Run as root on Debian 12 from anywhere in the
# checkout; prints each package's files with their SHA-256 and the PDB's GUID.
#   package.sh [--sign CERT KEY [--ca CA] [--timestamp URL]]
# --sign: both DLLs in the ZIPs carry an Authenticode signature (SHA-256) made with the
# certificate CERT and its key KEY (PEM), time-stamped by the RFC 3161 server URL when given,
# and verified against CA (tools/sign.sh). The build's own DLLs stay unsigned: their SHA-256,
# printed as "unsigned", is the same from every checkout of the commit.
set -eu
cert=""
options=""
while [ $# -gt 0 ]; do
    case $1 in
        --sign) cert=$(realpath "$2"); key=$(realpath "$3"); shift 3 ;;
        --ca) options="$options --ca $(realpath "$2")"; shift 2 ;;
        --timestamp) options="$options --timestamp $2"; shift 2 ;;
        *) echo "usage: package.sh [--sign CERT KEY [--ca CA] [--timestamp URL]]" >&2; exit 2 ;;
    esac
done
cd "$(dirname "$0")/.."
root=$PWD
tools/install-deps.sh
umask 022
export LC_ALL=C
work=/tmp/dxdlg-release
commit=$(git rev-parse HEAD)
stamp=$(git log -1 --format=%ct)
git diff --quiet HEAD || echo "Uncommitted changes are not in the release of $commit"
exec 9>"$work.lock"
flock -n 9 || { echo "Waiting for the release build of another run in $work"; flock 9; }
rm -rf "$work"
mkdir -p "$work/source" "$root/dist"
git archive --format=tar HEAD | tar -x -C "$work/source"
cd "$work/source"
for preset in clang arm64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target dxdlg_check dxdlg_msvc_import_library >/dev/null
    name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "build-$preset/CPackConfig.cmake")
    cmake --install "build-$preset" --prefix "$work/stage/$name" >/dev/null
    (
        cd "$work/stage"
        unsigned=$(sha256sum <"$name/bin/dxdlg.dll" | cut -d' ' -f1)
        # shellcheck disable=SC2086
        [ -z "$cert" ] || "$root/tools/sign.sh" $options "$cert" "$key" "$name/bin/dxdlg.dll"
        rm -f "$root/dist/$name.zip"
        python3 "$root/tools/zip.py" "$root/dist/$name.zip" "$stamp" "$name" >"$name.files"
        echo "dist/$name.zip ($commit):"
        xargs sha256sum <"$name.files" | sed 's/^/  /'
        [ -z "$cert" ] || echo "  $unsigned  $name/bin/dxdlg.dll, unsigned"
        llvm-pdbutil-14 dump --summary "$name/bin/dxdlg.pdb" | sed -n 's/^ *GUID: /  PDB GUID: /p'
    )
done
rm -rf "$work"
