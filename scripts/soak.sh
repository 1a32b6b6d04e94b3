#!/usr/bin/env bash
# Soak: the built-in player plays whole games headless, as fast as they go, while the resident memory
# is read after the first game and after the last. Memory that grows from game to game fails.
#   scripts/soak.sh PROGRAM GAMES SLACK_KB
# SLACK_KB allows for what may still move after the first game: the allocator's free lists
# settling, and the fortunes buffer, the high-score panel's text and sounds first played in
# the second game; a leak of even one small object a game grows past it over the games.
set -euo pipefail

program=${1:?program}
games=${2:-50}
slack_kb=${3:-256}
limit_s=600     # the soak gives up after this long in real time

save=$(mktemp -d)
trap 'rm -rf "$save"' EXIT
out="$save/out.txt"
printf "wait 3600000\nwait 3600000\n" > "$save/script.txt"  # two hours of device time

"$program" --headless --autoplay --stats --save "$save" --script "$save/script.txt" >"$out" &
pid=$!

games_done() { grep -c '^game over' "$out" || true; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"; }
wait_for_games() {
  local wanted=$1
  while [[ $(games_done) -lt $wanted ]]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "soak: the game ended after $(games_done) games" >&2
      exit 1
    fi
    if [[ $SECONDS -gt $limit_s ]]; then
      kill -TERM "$pid"
      echo "soak: only $(games_done) of $wanted games in ${limit_s} s" >&2
      exit 1
    fi
    sleep 0.05
  done
}

wait_for_games 1
first_kb=$(rss_kb)
wait_for_games "$games"
last_kb=$(rss_kb)
kill -TERM "$pid"
status=0
wait "$pid" || status=$?

echo "soak: $(games_done) games in ${SECONDS} s; resident after the first ${first_kb} kB, after game ${games} ${last_kb} kB"
grep '^stats:' "$out" || true
if [[ $status -ne 0 ]]; then
  echo "soak: the game exited with status $status" >&2
  exit 1
fi
if [[ $last_kb -gt $((first_kb + slack_kb)) ]]; then
  echo "soak: memory grew by $((last_kb - first_kb)) kB (more than ${slack_kb} kB)" >&2
  exit 1
fi
if awk '/^game over/ { p = $3; o = $4; hi = p > o ? p : o; lo = p > o ? o : p;
        if (!((hi == 11 && lo <= 9) || (hi > 11 && hi - lo == 2))) bad = 1 } END { exit !bad }' "$out"; then
  echo "soak: a game ended on an illegal score" >&2
  exit 1
fi
