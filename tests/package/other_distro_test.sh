#!/usr/bin/env bash
# The portable tarball on a distribution other than the one it was built on:
# Ubuntu 22.04 (glibc 2.35, the oldest C library of the systems it is for),
# a minimal root with a desktop's GL and X11 libraries and nothing of the
# game's. The game runs chrooted in it, on a display of this machine, from a
# folder whose name has a space and non-ASCII letters; it must find every
# library, show its title and save into its XDG data folder.
# The root is made once with debootstrap (it needs the network) and kept in
# $DISTRO_ROOT between runs.
#   PORTABLE=brindlewick-1.0.0-linux-x86_64.tar.gz other_distro_test.sh
TARBALL=$(realpath "${PORTABLE:?the portable tarball}")
ROOTFS=${DISTRO_ROOT:-/var/cache/brindlewick-tests/ubuntu-22.04}
MIRROR=http://archive.ubuntu.com/ubuntu
# The archive's keyring, checked against the hash its own Packages list gives.
KEYRING_DEB=pool/main/u/ubuntu-keyring/ubuntu-keyring_2021.03.26_all.deb
KEYRING_SHA256=0d0e7ed6b112f5d03eabf3c7eb01ebdacf9c57714b279e90495cfc58c8c4520f
LIBRARIES=libgl1,libglx-mesa0,libgl1-mesa-dri,libx11-6,libxrandr2,libxcursor1,libxi6,libxinerama1
E2E_BIN=unset
source "$(dirname "$0")/../e2e/lib.sh"

make_root() {
  [ -f "$ROOTFS/.made" ] && [ "$(cat "$ROOTFS/.made")" = "$LIBRARIES" ] && return
  echo "making the Ubuntu 22.04 root in $ROOTFS (once)"
  rm -rf "$ROOTFS"
  mkdir -p "$ROOTFS"
  curl -fsS "$MIRROR/$KEYRING_DEB" -o "$E2E_RUN/keyring.deb" || fail "cannot fetch the archive's keyring"
  echo "$KEYRING_SHA256  $E2E_RUN/keyring.deb" | sha256sum --quiet -c || fail "the keyring is not the one expected"
  dpkg-deb -x "$E2E_RUN/keyring.deb" "$E2E_RUN/keyring"
  debootstrap --variant=minbase --include="$LIBRARIES" \
    --keyring="$E2E_RUN/keyring/usr/share/keyrings/ubuntu-archive-keyring.gpg" \
    jammy "$ROOTFS" "$MIRROR" >"$E2E_RUN/debootstrap.log" 2>&1 ||
    { tail -20 "$E2E_RUN/debootstrap.log" >&2; fail "debootstrap failed"; }
  echo "$LIBRARIES" >"$ROOTFS/.made"
}
make_root
glibc=$(chroot "$ROOTFS" ldd --version | sed -n 1p)
grep -q '2\.35$' <<<"$glibc" || fail "the root's C library: $glibc"

TOP=$(basename "$TARBALL" .tar.gz)
PLAYER=/home/player
FOLDER="$PLAYER/Spiele für Ärger"
rm -rf "$ROOTFS$PLAYER"
mkdir -p "$ROOTFS$FOLDER" "$ROOTFS$PLAYER/start"
trap 'rm -rf "$ROOTFS$PLAYER"; e2e_cleanup' EXIT
tar -xzf "$TARBALL" -C "$ROOTFS$FOLDER"
missing=$(chroot "$ROOTFS" ldd "$FOLDER/$TOP/bin/brindlewick" | grep 'not found' || true)
[ -z "$missing" ] || fail "libraries missing on Ubuntu 22.04: $missing"

# The game in the root, in a mount namespace of its own: /dev, /proc and the
# display's socket are lent to it and vanish with it. exec keeps its PID.
e2e_start_display
cat >"$E2E_RUN/in-root" <<EOF
#!/bin/sh
exec unshare --mount sh -c 'mount --rbind /dev "$ROOTFS/dev" && mount -t proc proc "$ROOTFS/proc" &&
  mkdir -p "$ROOTFS/tmp/.X11-unix" && mount --bind /tmp/.X11-unix "$ROOTFS/tmp/.X11-unix" &&
  exec chroot "$ROOTFS" /usr/bin/env -i PATH=/usr/bin:/bin HOME=$PLAYER DISPLAY=$DISPLAY ALSOFT_DRIVERS=null \
    sh -c "cd $PLAYER/start && exec \"$FOLDER/$TOP/brindlewick\""'
EOF
chmod +x "$E2E_RUN/in-root"
E2E_BIN="$E2E_RUN/in-root" e2e_start_game --no-data
wait_for 20 title_with_pictures || fail "no title on Ubuntu 22.04; $(cat "$E2E_RUN/stderr")"
echo "title shows on $glibc"
STATE="$ROOTFS$PLAYER/.local/share/brindlewick/.vorlekstate"
iconify_saves_to "$STATE"
focus_game
close_game
echo "saved into the XDG data folder on Ubuntu 22.04"
