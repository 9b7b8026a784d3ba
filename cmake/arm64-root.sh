#!/bin/sh
# Runs Windows on ARM64 programs here: an arm64 Debian root with Debian's arm64 Wine, made once
# per machine outside any checkout, whose ELF programs the kernel hands to qemu-user-static
# through binfmt_misc.
#   arm64-root.sh run COMMAND...   make the root if it is missing, register qemu for arm64 ELF
#                                  programs, run COMMAND on the host, and remove the registration
#                                  again when it ends (it is kernel-wide)
#   arm64-root.sh exec COMMAND...  run COMMAND inside the root (needs the registration of "run"),
#                                  with the checkout, the working folder, /proc, /dev and the X
#                                  display bound at their own paths
# The root is $DXDLG_ARM64_ROOT (default /var/cache/dxdlg/arm64-root, about 700 MB); the Debian
# package registry is $DXDLG_DEBIAN_MIRROR. Run as root.
set -eu
root=${DXDLG_ARM64_ROOT:-/var/cache/dxdlg/arm64-root}
mirror=${DXDLG_DEBIAN_MIRROR:-http://deb.debian.org/debian}
binfmt=/proc/sys/fs/binfmt_misc
entry=dxdlg-aarch64
qemu=/usr/bin/qemu-aarch64-static
# The root carries this file once its second stage has completed.
ready=var/lib/dxdlg-root-ready
checkout=$(cd "$(dirname "$0")/.." && pwd)

fail() {
    echo "arm64-root.sh: $*" >&2
    exit 1
}

# Some entry for arm64 ELF programs is enabled: ours or one the machine had already.
arm64_registered() {
    for file in "$binfmt"/*; do
        [ -f "$file" ] || continue
        if grep -q '^enabled' "$file" 2>/dev/null &&
            grep -q '^magic 7f454c460201010000000000000000000200b700' "$file" 2>/dev/null; then
            return 0
        fi
    done
    return 1
}

# Registers qemu for arm64 ELF programs unless the machine already runs them; sets the names of
# what it did, so that unregister undoes exactly that.
mounted_binfmt=no
registered=no
register() {
    [ -x "$qemu" ] || fail "$qemu is missing (apt-get install qemu-user-static)"
    if [ ! -f "$binfmt/register" ]; then
        mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
            fail "cannot mount binfmt_misc on $binfmt (a container without that right?): arm64 programs cannot run here"
        mounted_binfmt=yes
    fi
    arm64_registered && return 0
    # Flag F: the kernel opens qemu now, so that it also serves programs inside the root.
    printf ':%s:M::\\x7f\\x45\\x4c\\x46\\x02\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\xb7\\x00:\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:%s:F\n' \
        "$entry" "$qemu" >"$binfmt/register" 2>/dev/null ||
        fail "cannot register $qemu with binfmt_misc: arm64 programs cannot run here"
    registered=yes
}

unregister() {
    if [ "$registered" = yes ] && [ -f "$binfmt/$entry" ]; then
        echo -1 >"$binfmt/$entry" || true
    fi
    if [ "$mounted_binfmt" = yes ]; then
        umount "$binfmt" || true
    fi
}

# Runs "$@" inside the root, in a mount namespace of its own that ends with it.
in_root() {
    arm64_registered ||
        fail "no binfmt_misc entry runs arm64 programs; run this under \"arm64-root.sh run\""
    unshare --mount --propagation private sh -eu -c '
        root=$1; checkout=$2; shift 2
        mount --bind /proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mkdir -p "$root/tmp/.X11-unix" "$root$checkout"
        if [ -d /tmp/.X11-unix ]; then mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"; fi
        mount --bind "$checkout" "$root$checkout"
        if [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ]; then
            mkdir -p "$root$(dirname "$XAUTHORITY")"
            touch "$root$XAUTHORITY"
            mount --bind "$XAUTHORITY" "$root$XAUTHORITY"
        fi
        case $PWD/ in
        "$checkout"/*) ;;
        *) mkdir -p "$root$PWD" && mount --bind "$PWD" "$root$PWD" ;;
        esac
        exec chroot "$root" sh -c "cd \"\$0\" && exec \"\$@\"" "$PWD" "$@"
    ' sh "$root" "$checkout" "$@"
}

create_root() {
    command -v debootstrap >/dev/null || fail "debootstrap is missing (apt-get install debootstrap)"
    partial=$root.partial
    rm -rf "$partial"
    mkdir -p "$partial"
    echo "Making the arm64 Debian root with Wine in $root (once per machine, about 3 minutes)"
    debootstrap --foreign --arch=arm64 --variant=minbase --include=wine64,libwine,fonts-wine \
        bookworm "$partial" "$mirror" >"$partial.log" 2>&1 ||
        { tail -n 20 "$partial.log" >&2; fail "debootstrap (first stage) failed, see $partial.log"; }
    unshare --mount --propagation private sh -c '
        mount --bind /proc "$1/proc" && mount --rbind /dev "$1/dev" &&
        chroot "$1" /debootstrap/debootstrap --second-stage' sh "$partial" >>"$partial.log" 2>&1 ||
        { tail -n 20 "$partial.log" >&2; fail "debootstrap (second stage, under qemu) failed, see $partial.log"; }
    # Debian's wine package, left out here, would put wineserver on the PATH.
    ln -sf /usr/lib/wine/wineserver "$partial/usr/local/bin/wineserver"
    touch "$partial/$ready"
    mv "$partial.log" "$partial/var/log/dxdlg-root.log"
    mv "$partial" "$root"
}

[ "$(id -u)" -eq 0 ] || fail "needs root (binfmt_misc, chroot and mounts)"
action=${1:-}
[ $# -gt 0 ] && shift
case $action in
run)
    [ $# -gt 0 ] || fail "run: no command"
    mkdir -p "$(dirname "$root")"
    # One run at a time on the machine: a run that ends removes the registration that another
    # would still need.
    exec 8>"$root.run.lock"
    flock 8
    trap unregister EXIT
    trap 'exit 130' INT TERM
    register
    [ -f "$root/$ready" ] || create_root
    status=0
    # The lock stays with this script: a server that the command leaves running must not hold it.
    "$@" 8>&- || status=$?
    exit $status
    ;;
exec)
    [ -f "$root/$ready" ] || fail "no arm64 root at $root; run this under \"arm64-root.sh run\""
    in_root "$@"
    ;;
*)
    echo "usage: $0 run COMMAND... | exec COMMAND..." >&2
    exit 2
    ;;
esac
