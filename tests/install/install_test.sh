#!/usr/bin/env bash
# The installed game as a player meets it: installed into a scratch DESTDIR, started through
# its launcher from another folder, its desktop entry, and its Debian package.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
scratch=$(mktemp -d /tmp/quilbrack-install-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
failures=0
check() {  # DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# 1. Install with a prefix of our own, under DESTDIR.
DESTDIR="$scratch/root" cmake --install "$build" --prefix /opt/quilbrack-test >/dev/null
prefix="$scratch/root/opt/quilbrack-test"
installed=(bin/quilbrack libexec/quilbrack/quilbrack share/quilbrack/icon.png
  share/quilbrack/err.png share/quilbrack/sample.png share/applications/quilbrack.desktop
  share/icons/hicolor/32x32/apps/quilbrack.png)
for file in "${installed[@]}"; do check "installs $file" test -e "$prefix/$file"; done
check "the desktop entry is valid" desktop-file-validate "$prefix/share/applications/quilbrack.desktop"

# 2. The launcher, from another folder, with a dialog that is always cancelled.
mkdir -p "$scratch/bin" "$scratch/elsewhere/pictures"
cat >"$scratch/bin/zenity" <<SCRIPT
#!/bin/sh
echo called >>"$scratch/dialog.log"
exit 1
SCRIPT
chmod +x "$scratch/bin/zenity"
cp "$source/assets/sample.png" "$scratch/elsewhere/pictures/"
export SDL_VIDEODRIVER=dummy PATH="$scratch/bin:$PATH"

# Plays the argument for 3 s (longer than the 2 s no-picture screen that a bad path
# shows before the dialog comes back), then closes; prints the status and dialog calls.
play_for_a_while() {
  rm -f "$scratch/dialog.log"
  (cd "$scratch/elsewhere" && exec "$prefix/bin/quilbrack" "$@") &
  local game=$!
  sleep 3
  kill -TERM "$game" 2>/dev/null || true
  local status=0
  wait "$game" || status=$?
  echo "$status $(wc -l <"$scratch/dialog.log")"
}
check "a relative picture argument is played" test "$(play_for_a_while pictures/sample.png)" = "0 1"
check "a bad one brings the dialog back (the check above means something)" \
  test "$(play_for_a_while pictures/missing.png)" != "0 1"
status=0
(cd "$scratch/elsewhere" && "$prefix/bin/quilbrack") || status=$?
check "without an argument a cancelled dialog ends with 201" test "$status" = 201

# 3. The Debian package lists every installed file and names its dependencies.
(cd "$build" && cpack -G DEB -B "$scratch/package" >/dev/null)
deb=$(ls "$scratch"/package/quilbrack_*.deb)
contents=$(dpkg-deb --contents "$deb")
for file in "${installed[@]}"; do
  check "the package holds /usr/$file" grep -q " \./usr/$file\$" <<<"$contents"
done
depends=$(dpkg-deb --field "$deb" Depends)
echo "     Depends: $depends"
check "the package depends on SDL 1.2" grep -qE 'libsdl1\.2' <<<"$depends"
check "the package depends on SDL_image 1.2" grep -q 'libsdl-image1.2' <<<"$depends"
check "the package depends on a dialog" grep -q 'zenity | kdialog' <<<"$depends"

echo "$failures failed"
[ "$failures" -eq 0 ]
