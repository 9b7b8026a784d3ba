#!/bin/sh
# Installs what is missing and builds the library, its tests and tools into build/.
# Run as root on Debian 12 from anywhere in the checkout.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset default
cmake --build --preset default
