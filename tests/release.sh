#!/bin/sh
# The release's tools, in the folder WORK: zip (tools/zip.py in any time zone); sign DLL (with a
# throw-away certificate); refused DLL PDB VERSION (check-dll.sh --shipped on DLL with another
# value in its cookie's slot, beside PDB, which has an MD5 hash); architecture VERSION_FILE.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
case=$1 work=$2
shift 2
rm -rf "$work" && mkdir -p "$work/top" && cd "$work"
case $case in
zip)
    for name in c a e b d; do echo "$name" >"top/$name"; done
    TZ=UTC-14 python3 "$top/tools/zip.py" release.zip 1735689600 top >/dev/null
    python3 -c 'import zipfile; e = zipfile.ZipFile("release.zip").infolist(); print(*(i.filename for i in e), *{i.date_time for i in e})' ;;
sign)
    openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=dxdlg-test -days 1 -keyout key.pem -out cert.pem 2>/dev/null
    cp "$1" signed.dll && cp "$1" untrusted.dll
    "$top/tools/sign.sh" --ca cert.pem cert.pem key.pem signed.dll
    ! "$top/tools/sign.sh" cert.pem key.pem untrusted.dll 2>/dev/null || echo "untrusted.dll passed"
    osslsigncode verify -CAfile cert.pem -in signed.dll | grep -E '^(Message digest algorithm|Succeeded)' ;;
refused)
    cp "$2" dxdlg.pdb
    perl -0777 -pe 's/\x32\xa2\xdf\x2d\x99\x2b\0\0/\x33\xa2\xdf\x2d\x99\x2b\0\0/' "$1" >dxdlg.dll
    ! sh "$top/cmake/check-dll.sh" --shipped x64 "$3" dxdlg.dll "$top/src/dxdlg.def" "$top/cmake/imports" 2>&1 ;;
architecture)
    printf 'include(version.cmake)\nmessage("${PACKAGE_VERSION_UNSUITABLE}")\n' >suits.cmake
    for case in x64:CMAKE_SYSTEM_PROCESSOR=AMD64 arm64:CMAKE_C_COMPILER_ARCHITECTURE_ID=ARM64; do
        sed "s/@DXDLG_ARCH@/${case%%:*}/" "$1" >version.cmake
        refused=$(cmake "-D${case#*:}" -P suits.cmake 2>&1)
        echo "$case: ${refused:-taken}"
    done ;;
esac
