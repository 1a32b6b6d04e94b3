#!/usr/bin/env bash
# Unpacks a built vornel package into a throwaway root (dpkg -x) and checks what it installs:
# the layout, the metadata, the desktop entry and the manual page; then starts the installed
# game twice: headless on a script, and as the desktop menu starts it (its entry's Exec line,
# with /usr/games on the PATH, as a Debian session has it) under SDL's dummy drivers until SIGTERM closes it.
#   usage: scripts/check-deb.sh vornel_VERSION_ARCH.deb
set -euo pipefail

deb=${1:?usage: check-deb.sh vornel_VERSION_ARCH.deb}
work=$(mktemp -d "${TMPDIR:-/tmp}/vornel-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg -x "$deb" "$root"

failures=0
fail() {
  echo "check-deb: $*" >&2
  failures=$((failures + 1))
}

package_version=$(dpkg-deb -f "$deb" Version)
game=$root/usr/lib/vornel/vornel
[[ -x $game ]] || { echo "check-deb: no /usr/lib/vornel/vornel in the package" >&2; exit 1; }
[[ $(readlink "$root/usr/games/vornel") == ../lib/vornel/vornel ]] || fail "/usr/games/vornel is not the link to ../lib/vornel/vornel"
for file in f15.bin app0.bin bounce.wav hit.wav gong.wav bad.wav music5.wav help.txt cookies.txt; do
  [[ -s $root/usr/lib/vornel/$file ]] || fail "no /usr/lib/vornel/$file"
done

game_version=$("$game" --version)
[[ $game_version == "Vornel $package_version" ]] || fail "the game says '$game_version', the package $package_version"

desktop=$root/usr/share/applications/org.vornel.vornel.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
metainfo=$root/usr/share/metainfo/org.vornel.vornel.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli rejects the metadata"; }
grep -qF "<release version=\"$package_version\"" "$metainfo" || fail "the metadata has no release $package_version"
[[ -s $root/usr/share/icons/hicolor/64x64/apps/vornel.png ]] || fail "no 64x64 icon"

manual=$root/usr/share/man/man6/vornel.6.gz
if [[ -s $manual ]]; then
  warnings=$(zcat "$manual" | groff -man -ww -z 2>&1)
  [[ -z $warnings ]] || fail "the manual page has warnings: $warnings"
  zcat "$manual" | grep -qF "\"Vornel $package_version\"" || fail "the manual page is not of version $package_version"
else
  fail "no /usr/share/man/man6/vornel.6.gz"
fi

# Headless, on a script, from the launcher link, on the Smartphone: "Level: Hard" chosen in the
# menu (which saves the settings), then a game's first frames and a screenshot.
mkdir -p "$work/save"
printf 'wait 3500\nchar L\nwait 600\nchar N\nwait 1500\nscreenshot %s\nquit\n' "$work/shot.png" >"$work/script.txt"
status=0
timeout 100 "$root/usr/games/vornel" --headless --device smartphone --save "$work/save" --script "$work/script.txt" \
  >"$work/headless.log" 2>&1 || status=$?
[[ $status -eq 0 ]] || { cat "$work/headless.log" >&2; fail "the installed game ended headless with status $status"; }
[[ $(head -c 8 "$work/shot.png" 2>/dev/null | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ||
  fail "the installed game wrote no screenshot"
[[ $(od -An -j1 -N1 -tu1 "$work/save/vornel" 2>/dev/null | tr -d ' ') == 1 ]] ||
  fail "the installed game did not keep the level Hard in its settings file"

# As the menu starts it: the entry's command, in a window (SDL's dummy video and audio), for
# three seconds, in the save folder under XDG_DATA_HOME; SIGTERM closes the window.
command=$(sed -n 's/^Exec=//p' "$desktop")
mkdir -p "$work/home"
status=0
env PATH="$root/usr/games:$PATH" XDG_DATA_HOME="$work/home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  timeout 3 $command >"$work/menu.log" 2>&1 || status=$?
[[ $status -eq 124 ]] || { cat "$work/menu.log" >&2; fail "'$command' from the desktop entry ended by itself (status $status)"; }
[[ -d $work/home/vornel ]] || { cat "$work/menu.log" >&2; fail "'$command' made no save folder in XDG_DATA_HOME"; }

if [[ $failures -ne 0 ]]; then
  echo "check-deb: $failures check(s) failed" >&2
  exit 1
fi
echo "check-deb: $(basename "$deb") installs, validates and starts (headless and from its menu entry)"
