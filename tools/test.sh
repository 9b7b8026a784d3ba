#!/bin/sh
# Installs what is missing, builds the library, its tools and tests twice (mingw-w64 gcc into
# build/, clang 14 with lld into build-clang/), and runs every test of both builds under Wine on
# a virtual X display. Run as root on Debian 12 from anywhere in the checkout.
set -eu
cd "$(dirname "$0")/.."
tools/build.sh
cmake --preset clang
cmake --build --preset clang
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset default
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset clang
