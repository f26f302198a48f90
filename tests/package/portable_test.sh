#!/usr/bin/env bash
# The portable Linux tarball as a player on another distribution gets it:
# unpacked into a folder whose name has a space and non-ASCII letters, the
# game asks for no library beyond the base system's C runtime, GL and X11 and
# for no glibc newer than 2.34, shows its title under Xvfb and saves into the
# XDG data folder; the menu entry it installs points at the unpacked game.
#   PORTABLE=brindlewick-1.0.0-linux-x86_64.tar.gz portable_test.sh
TARBALL=${PORTABLE:?the portable tarball}
E2E_BIN=unset
source "$(dirname "$0")/../e2e/lib.sh"
TOP=$(basename "$TARBALL" .tar.gz)
UNPACKED="$E2E_RUN/Spiele für Ärger/$TOP"
mkdir -p "$(dirname "$UNPACKED")"
tar -xzf "$TARBALL" -C "$(dirname "$UNPACKED")"
GAME="$UNPACKED/bin/brindlewick"
[ -x "$GAME" ] && [ -x "$UNPACKED/brindlewick" ] || fail "no program in $(ls "$UNPACKED")"
[ "$TOP" = "brindlewick-$(cat "$UNPACKED/VERSION")-linux-x86_64" ] || fail "VERSION $(cat "$UNPACKED/VERSION") in $TOP"
for f in licences/brindlewick.txt licences/glfw.txt licences/openal-soft.txt licences/openal-soft-source.txt \
  licences/stb.txt share/applications/brindlewick.desktop share/icons/hicolor/48x48/apps/brindlewick.png; do
  [ -s "$UNPACKED/$f" ] || fail "$f missing"
done

# --- What it links: its own two libraries, the rest from the base system.
base='^(linux-vdso\.so\.1|/lib64/ld-linux-x86-64\.so\.2|lib(c|m|dl|pthread|rt|gcc_s|GL|GLX|GLdispatch|X11|xcb|Xau|Xdmcp|bsd|md)\.so\.[0-9.]+)$'
# ldd's lines as "name|path" ("name|" for the loader's own); the path may have
# spaces, and names the game's own libraries as bin/../lib/.
while IFS='|' read -r lib path; do
  path=${path//\/bin\/..\/lib\//\/lib\/}
  [[ $path == "$UNPACKED"/lib/* ]] && continue
  [ "$path" != "not found" ] || fail "$lib not found"
  [[ $lib =~ $base ]] || fail "links $lib ($path) from outside the base system"
done < <(ldd "$GAME" "$UNPACKED"/lib/*.so.* | grep -v ':$' | sed -E 's/^\s+//; s/ \(0x[0-9a-f]+\)$//; s/ => /|/')
links=$(ldd "$GAME" | sed 's|/bin/\.\./lib/|/lib/|')
grep -qF "$UNPACKED/lib/libglfw.so.3" <<<"$links" || fail "GLFW not taken from lib/: $links"
grep -qF "$UNPACKED/lib/libopenal.so.1" <<<"$links" || fail "OpenAL not taken from lib/: $links"
# Symbol versions: nothing of glibc past 2.34, no C++ runtime at all.
objdump -T "$GAME" "$UNPACKED"/lib/*.so.* >"$E2E_RUN/symbols"
newest=$(grep -o 'GLIBC_2\.[0-9]*' "$E2E_RUN/symbols" | sort -t. -k2 -n -u | tail -1)
[ "${newest#GLIBC_2.}" -le 34 ] || fail "needs $newest: $(grep "$newest" "$E2E_RUN/symbols")"
! grep -q 'GLIBCXX_\|CXXABI_' "$E2E_RUN/symbols" || fail "needs the system's C++ runtime"
echo "links only the base system, glibc up to $newest"

# --- Played from an unrelated folder with a fresh HOME.
export HOME="$E2E_RUN/home"
unset XDG_DATA_HOME
mkdir -p "$HOME" "$E2E_RUN/start"
e2e_start_display
E2E_CWD="$E2E_RUN/start" E2E_BIN="$UNPACKED/brindlewick" e2e_start_game --no-data
wait_for 20 title_with_pictures || fail "no title; $(cat "$E2E_RUN/stderr")"
echo "title shows"
STATE="$HOME/.local/share/brindlewick/.vorlekstate"
iconify_saves_to "$STATE"
focus_game
close_game
[ -z "$(ls -A "$E2E_RUN/start")" ] || fail "files appeared in the start folder: $(ls -A "$E2E_RUN/start")"
[ ! -e "$UNPACKED/.vorlekstate" ] || fail "the game saved into its own folder"
echo "saved into the XDG data folder"

# --- The menu entry runs the unpacked game, whose path has a space in it.
"$UNPACKED/install-desktop-entry" >/dev/null
entry="$HOME/.local/share/applications/brindlewick.desktop"
[ "$(grep '^Exec=' "$entry")" = "Exec=\"$GAME\"" ] || fail "menu entry: $(grep '^Exec=' "$entry")"
[ -s "$HOME/.local/share/icons/hicolor/256x256/apps/brindlewick.png" ] || fail "icons not installed"
"$UNPACKED/install-desktop-entry" --remove >/dev/null
[ ! -e "$entry" ] && [ ! -e "$HOME/.local/share/icons/hicolor/256x256/apps/brindlewick.png" ] ||
  fail "--remove left the entry or its icons"
echo "portable test passed"
