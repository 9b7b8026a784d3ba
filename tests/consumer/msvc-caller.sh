#!/bin/sh
# Links a C caller to dxdlg.dll as a Visual Studio build would: compiled for the MSVC ABI, linked
# by lld-link (link.exe's command line) against lib/dxdlg.lib with no default libraries, then run
# under Wine beside the DLL. First checks that dxdlg.lib is in the short import format that
# link.exe reads: one import member, by name, per export.
#   msvc-caller.sh BUILD_DIR WORK_DIR
# Tools: $CLANG, $LLD_LINK, $DLLTOOL, $READOBJ (Debian's LLVM 14 by default); $TARGET, the
# architecture (x86_64 by default, or aarch64); $RUN, what runs a program of it.
set -eu
build=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
CLANG=${CLANG:-clang-14}
LLD_LINK=${LLD_LINK:-lld-link-14}
DLLTOOL=${DLLTOOL:-llvm-dlltool-14}
READOBJ=${READOBJ:-llvm-readobj-14}
TARGET=${TARGET:-x86_64}
RUN=${RUN:-$here/../../cmake/wine-run.sh}
case $TARGET in
aarch64) machine=arm64 ;;
*) machine=i386:x86-64 ;;
esac

members=$("$READOBJ" "$build/lib/dxdlg.lib" | grep -c '^Format: COFF-import-file' || true)
byName=$("$READOBJ" "$build/lib/dxdlg.lib" | grep -c '^Name type: name$' || true)
if [ "$members" -ne 7 ] || [ "$byName" -ne 7 ]; then
    echo "lib/dxdlg.lib: $members short import members, $byName by name; 7 and 7 expected" >&2
    exit 1
fi

rm -rf "$work"
mkdir -p "$work"
# mingw-w64's headers stand in for the Windows SDK's; they need the GNU dialect to be declared.
"$CLANG" --target=$TARGET-pc-windows-msvc -fgnuc-version=4.2.1 -std=c89 -pedantic -Wall -Wextra \
    -Werror -isystem /usr/share/mingw-w64/include -I "$here/../../include" \
    -DCALLER_WITHOUT_C_RUNTIME -c "$here/caller.c" -o "$work/caller.obj"
"$DLLTOOL" -m $machine -d "$here/kernel32.def" -l "$work/kernel32.lib"
"$LLD_LINK" /nologo /nodefaultlib /entry:CallerEntry /subsystem:console \
    /out:"$build/bin/msvc-caller.exe" "$work/caller.obj" "$build/lib/dxdlg.lib" "$work/kernel32.lib"

# The exit code is the number of the check in tests/consumer/caller.c that failed.
"$RUN" "$build/bin/msvc-caller.exe" || { echo "msvc-caller.exe: check $? failed" >&2; exit 1; }
echo "msvc-caller.exe: linked against lib/dxdlg.lib by lld-link, all checks passed"
