#!/bin/sh
# The release: installs what is missing, builds dxdlg.dll for x86-64 (preset "clang") and ARM64
# (preset "arm64") with clang 16 and lld 16 and every protection of cmake/hardening.cmake, which
# the build checks (cmake/check-dll.sh --shipped), and writes into dist/:
#   dxdlg-VERSION-win64.zip, dxdlg-VERSION-win-arm64.zip
# each holding dxdlg-VERSION-SUFFIX/ with the layout of `cmake --install` (cmake/package.cmake),
# the DLL's symbols in bin/dxdlg.pdb among it. The DLLs built are the ones the tests of those
# presets load. Reproducible: the same commit gives the same DLLs and PDB GUIDs in any folder;
# the ZIPs' entries carry the commit's time, in name order. Run as root on Debian 12 from anywhere
# in the checkout; prints each package's files with their SHA-256 and the PDB's GUID.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
umask 022
export LC_ALL=C
stamp=$(TZ=UTC git log -1 --format=%cd --date=format-local:'%Y-%m-%d %H:%M:%S UTC' 2>/dev/null ||
    echo '2000-01-01 00:00:00 UTC')
mkdir -p dist
rm -rf dist/stage
for preset in clang arm64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target dxdlg_check dxdlg_msvc_import_library >/dev/null
    build=build-$preset
    name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
    cmake --install "$build" --prefix "dist/stage/$name" >/dev/null
    (
        cd dist/stage
        find "$name" -type f | sort >"$name.files"
        rm -f "../$name.zip"
        cmake -E tar cf "../$name.zip" --format=zip --mtime="$stamp" --files-from="$name.files"
        echo "dist/$name.zip:"
        xargs sha256sum <"$name.files" | sed 's/^/  /'
        llvm-pdbutil-14 dump --summary "$name/bin/dxdlg.pdb" | sed -n 's/^ *GUID: /  PDB GUID: /p'
    )
done
rm -rf dist/stage
