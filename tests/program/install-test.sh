#!/usr/bin/env bash
# Installs the built game into a temporary staging folder (DESTDIR) as `make install` does,
# checks the layout a Linux desktop expects, and starts the installed game headless through
# the launcher link for a short scripted run.
#   usage: install-test.sh BUILD_FOLDER
set -euo pipefail

build=${1:?usage: install-test.sh BUILD_FOLDER}
work=$(mktemp -d "${TMPDIR:-/tmp}/vornel-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "install-test: $*" >&2
  failures=$((failures + 1))
}
give_up() {
  echo "install-test: $*" >&2
  exit 1
}

stage=$work/stage
if ! DESTDIR=$stage cmake --install "$build" --prefix /usr/local >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  give_up "cmake --install failed"
fi
root=$stage/usr/local
game=$root/lib/vornel
# The launcher's folder: bin, unless the build was configured otherwise (the Debian package's
# is games).
bindir=$(sed -n 's/^CMAKE_INSTALL_BINDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
bindir=${bindir:-bin}

# The executable and every data file together in the game folder.
[[ -f $game/vornel && -x $game/vornel ]] || fail "no executable lib/vornel/vornel"
for file in f15.bin bounce.wav hit.wav gong.wav bad.wav music5.wav help.txt cookies.txt; do
  cmp -s "$build/bin/$file" "$game/$file" || fail "lib/vornel/$file is missing or differs from the build's"
done
built_banks=$(cd "$build/bin" && ls app*.bin)
installed_banks=$(cd "$game" && ls app*.bin 2>/dev/null || true)
[[ -n $built_banks && $built_banks == "$installed_banks" ]] ||
  fail "picture bank: built $(echo $built_banks), installed $(echo $installed_banks)"
for file in $built_banks; do
  cmp -s "$build/bin/$file" "$game/$file" || fail "lib/vornel/$file differs from the build's"
done
[[ ! -e $game/icons ]] || fail "the icons leaked into the game folder"

# The launcher: a relative link, so that it holds under DESTDIR and wherever the tree moves.
launcher=$root/$bindir/vornel
if [[ ! -L $launcher ]]; then
  fail "$bindir/vornel is not a symbolic link"
else
  [[ $(readlink "$launcher") == ../lib/vornel/vornel ]] || fail "$bindir/vornel points to $(readlink "$launcher")"
  [[ $(readlink -f "$launcher") == "$(readlink -f "$game/vornel")" ]] || fail "$bindir/vornel does not reach the game"
fi

# The desktop entry, named after the metadata's id.
desktop=$root/share/applications/org.vornel.vornel.desktop
if [[ ! -f $desktop ]]; then
  fail "no share/applications/org.vornel.vornel.desktop"
else
  if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
  fi
  for line in '[Desktop Entry]' 'Name=Vornel' 'GenericName=Table Tennis' 'Exec=vornel' 'Icon=vornel' \
              'Terminal=false' 'Type=Application' 'Categories=Game;SportsGame;'; do
    grep -qxF "$line" "$desktop" || fail "the desktop entry lacks '$line'"
  done
  grep -qE '^Comment=.+' "$desktop" || fail "the desktop entry has no Comment"
  grep -qE '^Keywords=.+;$' "$desktop" || fail "the desktop entry has no Keywords list"
fi

# The AppStream metadata: valid, launching the desktop entry, and releasing the version the
# installed game gives.
metainfo=$root/share/metainfo/org.vornel.vornel.metainfo.xml
if [[ ! -f $metainfo ]]; then
  fail "no share/metainfo/org.vornel.vornel.metainfo.xml"
else
  if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net --explain "$metainfo" >"$work/appstream.log" 2>&1 ||
      { cat "$work/appstream.log" >&2; fail "appstreamcli rejects the metadata"; }
  fi
  grep -qF '<launchable type="desktop-id">org.vornel.vornel.desktop</launchable>' "$metainfo" ||
    fail "the metadata does not launch org.vornel.vornel.desktop"
  version=$("$game/vornel" --version)
  grep -qF "<release version=\"${version#Vornel }\"" "$metainfo" ||
    fail "the metadata has no release of the game's version ($version)"
  [[ $(grep -cE '<screenshot( [^>]*)?>' "$metainfo") -ge 3 ]] || fail "the metadata shows fewer than three screenshots"
fi

# The manual page, in section 6, rendered without a warning, with the game's version.
manual=$root/share/man/man6/vornel.6
if [[ ! -f $manual ]]; then
  fail "no share/man/man6/vornel.6"
else
  if command -v groff >/dev/null 2>&1; then
    warnings=$(groff -man -ww -z "$manual" 2>&1)
    [[ -z $warnings ]] || fail "groff warns about the manual page: $warnings"
  fi
  grep -qF "\"$("$game/vornel" --version)\"" "$manual" || fail "the manual page's heading has not the game's version"
  for section in SYNOPSIS OPTIONS KEYS FILES ENVIRONMENT 'EXIT STATUS' EXAMPLES; do
    grep -qE "^\.SH \"?$section\"?$" "$manual" || fail "the manual page has no $section"
  done
fi

# The icons: PNGs whose header says the size of their folder.
for size in 48 64 128 256; do
  icon=$root/share/icons/hicolor/${size}x${size}/apps/vornel.png
  if [[ ! -f $icon ]]; then
    fail "no icon ${size}x${size}"
    continue
  fi
  header=$(head -c 24 "$icon" | od -An -tx1 | tr -d ' \n')
  # The signature, the IHDR chunk's length (13) and type, then width and height.
  expected=89504e470d0a1a0a0000000d49484452$(printf '%08x%08x' "$size" "$size")
  [[ $header == "$expected" ]] || fail "icon ${size}x${size} is not a ${size}x${size} PNG (header $header)"
done

[[ -s $root/share/doc/vornel/README.md ]] || fail "no share/doc/vornel/README.md"

# The installed game, started through the link, reads its data from the game folder.
mkdir -p "$work/save"
printf 'wait 3000\nscreenshot %s\nquit\n' "$work/shot.png" >"$work/script.txt"
status=0
timeout 100 "$launcher" --headless --save "$work/save" --script "$work/script.txt" >"$work/run.log" 2>&1 || status=$?
if [[ $status -ne 0 ]]; then
  cat "$work/run.log" >&2
  fail "the installed game exited with status $status"
fi
if [[ -s $work/shot.png ]]; then
  [[ $(head -c 8 "$work/shot.png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "the screenshot is no PNG"
else
  fail "the installed game wrote no screenshot"
fi
if [[ $status -eq 0 && -s $work/run.log ]]; then
  echo "install-test: the game said:" >&2
  cat "$work/run.log" >&2
fi

if [[ $failures -ne 0 ]]; then
  give_up "$failures check(s) failed"
fi
echo "install-test: installed and started the game"
