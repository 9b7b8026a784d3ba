#!/bin/sh
# Installs, with apt-get, the Debian packages that building and testing need and that are
# missing. Run as root on Debian 12.
set -eu
packages="cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb xauth
    googletest fonts-wine fonts-noto-cjk fonts-liberation2 llvm-14 clang-14 lld-14 clang-16 lld-16 llvm-16 python3
    debootstrap qemu-user-static osslsigncode openssl $*"
missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $package"
    fi
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing
fi
