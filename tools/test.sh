#!/bin/sh
# Installs what is missing, builds the library, its tools and tests three times (x86-64 with
# mingw-w64 gcc into build/ and with clang 16 and lld 16 into build-clang/, ARM64 with clang 16
# and lld 16 into build-arm64/), and runs every test of each build on a virtual X display: the
# x86-64 ones under Wine, the ARM64 ones under the arm64 Wine of an arm64 Debian root, which
# cmake/arm64-root.sh makes once per machine (in /var/cache/dxdlg, about 3 minutes) and runs
# through qemu-user-static, registered with binfmt_misc for the run only. Run as root on Debian
# 12 from anywhere in the checkout.
set -eu
cd "$(dirname "$0")/.."
tools/build.sh
cmake --preset clang
cmake --build --preset clang
cmake --preset arm64
cmake --build --preset arm64
status=0
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset default || status=1
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset clang || status=1
cmake/arm64-root.sh run xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset arm64 || status=1
exit $status
