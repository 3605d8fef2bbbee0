#!/usr/bin/env bash
# Runs every Wine suite, each bounded in time, and sums their results.
set -u
cd "$(dirname "$0")" || exit 1
source ../../tools/wine-route.sh
wine_route_line >&2
wine_left_out "the Wine suites" && exit 0
passed=0
failed=0
status=0
for suite in suite_*.sh; do
  out=$(mktemp)
  timeout -k 10 900 bash "$suite" 2>&1 | tee "$out" >&2
  line=$(grep -E '^[a-z0-9_-]+: [0-9]+ passed, [0-9]+ failed$' "$out" | tail -1)
  if [ -z "$line" ]; then
    echo "$suite did not finish" >&2
    failed=$((failed + 1))
    status=1
  else
    p=$(echo "$line" | sed -E 's/.*: ([0-9]+) passed.*/\1/')
    f=$(echo "$line" | sed -E 's/.* ([0-9]+) failed$/\1/')
    passed=$((passed + p))
    failed=$((failed + f))
    [ "$f" -eq 0 ] || status=1
  fi
  rm -f "$out"
done
wine_route_line
echo "wine: $passed passed, $failed failed"
exit $status
