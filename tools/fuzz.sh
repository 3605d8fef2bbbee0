#!/usr/bin/env bash
# Builds every fuzz target of tests/fuzz/ with clang (libFuzzer, ASan and
# UBSan) and runs each for FUZZ_SECONDS seconds (60 unless set). Each target
# keeps its corpus in the build directory between runs and starts from the
# seeds in tests/fuzz/seeds/<target>/ when there are any, and the dictionary
# tests/fuzz/<target>.dict when there is one. Prints the
# executions of each target; fails when a target finds a crash.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${FUZZ_BUILD:-$ROOT/build/fuzz}
SECONDS_EACH=${FUZZ_SECONDS:-60}
JOBS=${JOBS:-2}

mkdir -p "$BUILD"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DDISCSCREEN_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$BUILD/cmake.log" 2>&1 \
  || { cat "$BUILD/cmake.log"; exit 1; }

targets=()
for source in "$ROOT"/tests/fuzz/*.cpp; do
  [ -e "$source" ] || continue
  targets+=("$(basename "$source" .cpp)")
done
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets in tests/fuzz"; exit 1; }
cmake --build "$BUILD" -j"$JOBS" --target "${targets[@]}" || exit 1

status=0
summary=()
for target in "${targets[@]}"; do
  corpus=$BUILD/corpus/$target
  artifacts=$BUILD/artifacts/$target/
  mkdir -p "$corpus" "$artifacts"
  dirs=("$corpus")
  [ -d "$ROOT/tests/fuzz/seeds/$target" ] && dirs+=("$ROOT/tests/fuzz/seeds/$target")
  log=$BUILD/$target.log
  echo "fuzz: $target for ${SECONDS_EACH}s"
  options=()
  [ -f "$ROOT/tests/fuzz/$target.dict" ] && options+=("-dict=$ROOT/tests/fuzz/$target.dict")
  "$BUILD/$target" -max_total_time="$SECONDS_EACH" -print_final_stats=1 "${options[@]}" \
    -artifact_prefix="$artifacts" "${dirs[@]}" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 runs in \2 s/p' "$log" | tail -1)
  cover=$(grep -Eo 'cov: [0-9]+' "$log" | tail -1)
  if [ $rc -ne 0 ]; then
    status=1
    summary+=("$target: FAILED (exit $rc), see $log and $artifacts")
    grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" | head -5
  else
    summary+=("$target: ${runs:-? runs}, ${cover:-cov: ?}, corpus $(ls "$corpus" | wc -l) files")
  fi
done
printf 'fuzz: %s\n' "${summary[@]}"
exit $status
