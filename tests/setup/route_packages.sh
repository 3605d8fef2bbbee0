#!/usr/bin/env bash
# The routes differ in Wine alone: what one route's full package list holds
# besides Wine's own packages, the other's holds too, and each holds a Wine.
# Reads the lists that tools/install-deps.sh prints (or the script given),
# so it needs no network and no 32-bit kernel.
#   tests/setup/route_packages.sh [install-deps.sh]
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
DEPS=${1:-$ROOT/tools/install-deps.sh}
# Wine's own packages: the only ones a route may hold and the other lack.
WINE_OWN=" wine wine32 wine32:i386 wine64 libwine libwine:i386 fonts-wine "

passed=0
failed=0
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
for route in 32 64; do
  "$DEPS" --list "$route" 2>&1 >"$WORK/$route" | sed "s/^/route $route: /"
done

# route   other   a Wine it must hold
while read -r route other wine; do
  extra=()
  while read -r pkg; do
    [[ $WINE_OWN == *" $pkg "* ]] || extra+=("$pkg")
  done < <(comm -23 <(sort -u "$WORK/$route") <(sort -u "$WORK/$other"))
  if [ ${#extra[@]} -gt 0 ]; then
    echo "FAIL: route $route holds what route $other lacks: ${extra[*]}"
    failed=$((failed + 1))
  elif ! grep -qx "$wine" "$WORK/$route"; then
    echo "FAIL: route $route's list holds no $wine"
    failed=$((failed + 1))
  else
    passed=$((passed + 1))
  fi
done <<'CASES'
32      64      wine32:i386
64      32      wine64
CASES
echo "route_packages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
