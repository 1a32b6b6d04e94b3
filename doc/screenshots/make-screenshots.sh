#!/usr/bin/env bash
# Makes the screenshots the AppStream metadata shows (menu.png, rally.png, help.png) with the
# game's own headless `screenshot` command, on the Pocket PC with the VGA screen (480 x 640),
# into this folder or the one given. Publish them under the metadata's screenshot addresses.
#   usage: doc/screenshots/make-screenshots.sh BUILD_FOLDER [OUTPUT_FOLDER]
set -euo pipefail

build=$(cd "${1:?usage: make-screenshots.sh BUILD_FOLDER [OUTPUT_FOLDER]}" && pwd)
out=$(cd "${2:-$(dirname "$0")}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vornel-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT

play() {
  rm -rf "$work/save"
  mkdir -p "$work/save"
  "$build/bin/vornel" --headless --device pocketpc-vga --data "$build/bin" --save "$work/save" \
    --script "$work/script.txt" "$@" >/dev/null
}

# A new player's first look: the menu over the table, then the help, opened with the pen
# (the VGA screen takes the pen in its own pixels).
cat >"$work/script.txt" <<SCRIPT
wait 3500
screenshot $out/menu.png
tap 240 343
wait 2500
screenshot $out/help.png
quit
SCRIPT
play

# The built-in player in a rally against the computer, some points into its game. The game's
# random numbers start from the clock, so each run catches another moment: keep one with the
# ball in play.
cat >"$work/script.txt" <<SCRIPT
wait 24000
screenshot $out/rally.png
quit
SCRIPT
play --autoplay

for shot in menu help rally; do
  [[ -s $out/$shot.png ]] || { echo "make-screenshots: the game wrote no $shot.png" >&2; exit 1; }
done
echo "make-screenshots: menu.png, rally.png and help.png in $out"
