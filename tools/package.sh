#!/bin/sh
# The release: installs what is missing, builds dxdlg.dll for x86-64 (preset "clang") and ARM64
# (preset "arm64") with clang 16 and lld 16 and every protection of cmake/hardening.cmake, which
# the build checks (cmake/check-dll.sh --shipped), and writes into dist/:
#   dxdlg-VERSION-win64.zip, dxdlg-VERSION-win-arm64.zip
# each holding dxdlg-VERSION-SUFFIX/ with the layout of `cmake --install` (cmake/package.cmake),
# the DLL's symbols in bin/dxdlg.pdb among it. It builds the committed tree (HEAD; uncommitted
# changes are left out) in one fixed folder, /tmp/dxdlg-release: the PDB records the folders of
# the build, the PDB's GUID is a hash of the PDB and the DLL's time stamps a hash of the DLL, so
# the same commit gives the same bytes whatever folder the checkout is in. The ZIPs' entries
# carry the commit's time, in name order. Run as root on Debian 12 from anywhere in the
# checkout; prints each package's files with their SHA-256 and the PDB's GUID.
set -eu
cd "$(dirname "$0")/.."
root=$PWD
tools/install-deps.sh
umask 022
export LC_ALL=C
work=/tmp/dxdlg-release
commit=$(git rev-parse HEAD)
stamp=$(git log -1 --format=%ct)
git diff --quiet HEAD || echo "Uncommitted changes are not in the release of $commit"
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
        find "$name" -type f | sort >"$name.files"
        rm -f "$root/dist/$name.zip"
        # Python's zipfile, since libarchive's ZIPs (cmake -E tar) keep each file's access and
        # change times.
        python3 -c '
import os, sys, time, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as archive:
    for name in sys.stdin.read().split():
        entry = zipfile.ZipInfo(name, time.gmtime(int(sys.argv[2]))[:6])
        entry.external_attr = os.stat(name).st_mode << 16
        with open(name, "rb") as file:
            archive.writestr(entry, file.read(), zipfile.ZIP_DEFLATED)
' "$root/dist/$name.zip" "$stamp" <"$name.files"
        echo "dist/$name.zip ($commit):"
        xargs sha256sum <"$name.files" | sed 's/^/  /'
        llvm-pdbutil-14 dump --summary "$name/bin/dxdlg.pdb" | sed -n 's/^ *GUID: /  PDB GUID: /p'
    )
done
rm -rf "$work"
