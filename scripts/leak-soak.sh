#!/usr/bin/env bash
# A shorter soak under AddressSanitizer: the built-in player plays a few whole games, the run
# ends as the script ends, and LeakSanitizer then checks that nothing allocated was lost.
#   scripts/leak-soak.sh PROGRAM [DEVICE_MS]
set -euo pipefail

program=${1:?program built with -DVORNEL_SANITIZE=ON}
device_ms=${2:-900000}  # fifteen minutes of device time: some six games

save=$(mktemp -d)
trap 'rm -rf "$save"' EXIT
printf "wait %d\n" "$device_ms" > "$save/script.txt"

status=0
ASAN_OPTIONS=detect_leaks=1:exitcode=23 \
  "$program" --headless --autoplay --save "$save" --script "$save/script.txt" >"$save/out.txt" || status=$?
games=$(grep -c '^game over' "$save/out.txt" || true)
echo "leak soak: $games games, exit status $status"
if [[ $status -ne 0 ]]; then
  echo "leak soak: the run failed (status 23: LeakSanitizer found a leak; report above)" >&2
  exit 1
fi
if [[ $games -lt 1 ]]; then
  echo "leak soak: no game ended" >&2
  exit 1
fi
