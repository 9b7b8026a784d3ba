#!/bin/sh
# Installs what is missing, builds the library and its tests, and runs every test under Wine
# on a virtual X display. Run as root on Debian 12 from anywhere in the checkout.
set -eu
cd "$(dirname "$0")/.."
tools/build.sh
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset default
