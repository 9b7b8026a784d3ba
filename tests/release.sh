#!/bin/sh
# The release's tools on what a test gives them, each case in the folder WORK:
#   zip: tools/zip.py's entries come in name order, dated in UTC, in any time zone;
#   sign DLL: tools/sign.sh signs a copy with SHA-256 and a throw-away certificate, which it
#     verifies, and refuses to pass a signature that does not chain to the roots it is given;
#   cookie DLL DEF IMPORTS ARCH VERSION: check-dll.sh --shipped refuses the DLL (and its PDB)
#     with another value in its cookie's slot;
#   architecture VERSION_FILE: find_package takes a package for Windows' and MSVC's spellings.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
case=$1 work=$2
shift 2
rm -rf "$work" && mkdir -p "$work/top" && cd "$work"
case $case in
zip)
    for name in c a e b d; do echo "$name" >"top/$name"; done
    TZ=UTC-14 python3 "$top/tools/zip.py" release.zip 1735689600 top >/dev/null
    python3 -c 'import zipfile; e = zipfile.ZipFile("release.zip").infolist()
print(*(i.filename for i in e), *{i.date_time for i in e})' ;;
sign)
    openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=dxdlg-test -days 1 -keyout key.pem -out cert.pem 2>/dev/null
    cp "$1" signed.dll && cp "$1" untrusted.dll
    "$top/tools/sign.sh" --ca cert.pem cert.pem key.pem signed.dll
    ! "$top/tools/sign.sh" cert.pem key.pem untrusted.dll 2>/dev/null || echo "untrusted.dll passed"
    osslsigncode verify -CAfile cert.pem -in signed.dll | grep -E '^(Message digest algorithm|Succeeded)' ;;
cookie)
    cp "$1" "${1%.*}.pdb" .
    perl -0777 -pi -e 's/\x32\xa2\xdf\x2d\x99\x2b\0\0/\x33\xa2\xdf\x2d\x99\x2b\0\0/' "$(basename "$1")"
    ! sh "$top/cmake/check-dll.sh" --shipped "$4" "$5" "$(basename "$1")" "$2" "$3" 2>&1 ;;
architecture)
    for case in "x64 CMAKE_SYSTEM_PROCESSOR AMD64" "arm64 CMAKE_C_COMPILER_ARCHITECTURE_ID ARM64"; do
        set -- $case "$1"
        sed "s/^set(_dxdlg_architecture .*/set(_dxdlg_architecture $1)/" "$4" >version.cmake
        printf 'include(version.cmake)\nmessage("${PACKAGE_VERSION_UNSUITABLE}")\n' >suits.cmake
        refused=$(cmake "-D$2=$3" -P suits.cmake 2>&1)
        echo "$1 package, $2 $3: ${refused:-taken}"
        set -- "$4"
    done ;;
esac
