#!/bin/bash
# Records the golden demos again, after a change that is meant to alter the game, and writes
# their list (golden.txt: name, device, frames, checksum). Usage:
#   tests/demos/record-golden-demos.sh BUILD_DIR [NAME...]
# Each demo is a session of its own: the built-in player's whole games end some seconds
# after the game's end (the fortune and the high-score table); the others follow the input
# script of the same name. Say in the commit why the demos had to change.
set -euo pipefail

build=$(cd "${1:?usage: $0 BUILD_DIR [NAME...]}" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
program="$build/bin/vornel"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The settings file of a new player at the level given (0 Easy, 1 Hard).
settings_for_level() {
    rm -rf "$work/save"
    mkdir -p "$work/save"
    python3 -c "import sys; b = bytearray(24); b[1] = int(sys.argv[1]); open(sys.argv[2], 'wb').write(b)" \
        "$1" "$work/save/vornel"
}

# name device level: the built-in player plays until its first game has ended and the
# high-score table has had its time, then the window is closed.
record_whole_game() {
    local name=$1 device=$2 level=$3
    settings_for_level "$level"
    echo "wait 3600000" >"$work/forever.txt"
    # At most 50 times real speed, so that the run is still there a real second after the game.
    "$program" --headless --speed 50 --device "$device" --autoplay --data "$build/bin" --save "$work/save" \
        --script "$work/forever.txt" --record-demo "$here/$name.vdm" >"$work/out.txt" 2>"$work/err.txt" &
    local pid=$!
    for _ in $(seq 600); do
        grep -q "game over" "$work/out.txt" && break
        sleep 0.2
    done
    sleep 1  # 50 seconds of device time: the fortune, the table and the next game's start
    kill -TERM "$pid"
    wait "$pid"
    grep "^demo:" "$work/out.txt"
}

# name device: the session the script NAME.script plays.
record_scripted() {
    local name=$1 device=$2
    settings_for_level 0
    "$program" --headless --device "$device" --data "$build/bin" --save "$work/save" \
        --script "$here/$name.script" --record-demo "$here/$name.vdm" >"$work/out.txt" 2>"$work/err.txt"
    grep "^demo:" "$work/out.txt"
}

record() {
    case $1 in
        easy-game) record_whole_game easy-game pocketpc 0 ;;
        hard-game) record_whole_game hard-game pocketpc 1 ;;
        menus) record_scripted menus smartphone ;;
        pen) record_scripted pen pocketpc ;;
        qwerty-turn) record_scripted qwerty-turn qwerty ;;
        *) echo "no golden demo called $1" >&2; exit 2 ;;
    esac
}

names=("$@")
[ ${#names[@]} -gt 0 ] || names=(easy-game hard-game menus pen qwerty-turn)
for name in "${names[@]}"; do
    line=$(record "$name")
    frames=$(sed -n 's/.*frames=\([0-9]*\).*/\1/p' <<<"$line")
    checksum=$(sed -n 's/.*checksum=\([0-9a-f]*\).*/\1/p' <<<"$line")
    device=$(case $name in menus) echo smartphone ;; qwerty-turn) echo qwerty ;; *) echo pocketpc ;; esac)
    touch "$here/golden.txt"
    grep -v "^$name " "$here/golden.txt" >"$work/golden.txt" || true
    echo "$name $device $frames $checksum" >>"$work/golden.txt"
    sort "$work/golden.txt" >"$here/golden.txt"
    echo "$name: $frames frames, checksum $checksum"
done
