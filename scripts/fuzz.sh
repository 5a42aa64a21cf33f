#!/usr/bin/env bash
# Builds the libFuzzer targets under fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each one for the given number of
# seconds (default 60), starting from its seed inputs in fuzz/seeds/NAME/.
# New inputs the fuzzer finds go to build-fuzz/corpus/NAME/, crashes to
# build-fuzz/crashes/. Exits non-zero when a target crashed or reported.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]         SECONDS for each target
#        scripts/fuzz.sh --total SECONDS [TARGET...]   SECONDS shared evenly
# FUZZ_BUILD_DIR may be set.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TOTAL_SECONDS=""
if [ "${1:-}" = "--total" ]; then
    TOTAL_SECONDS="${2:?--total needs a number of seconds}"
    shift 2
    RUN_SECONDS=""
else
    RUN_SECONDS="${1:-60}"
    shift || true
fi
for n in $TOTAL_SECONDS $RUN_SECONDS; do
    [[ "$n" =~ ^[0-9]+$ ]] || { echo "fuzz.sh: not a number of seconds: $n" >&2; exit 2; }
done
FUZZ_BUILD_DIR="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"

need=()
for pkg in clang cmake make qt6-base-dev qt6-declarative-dev zlib1g-dev; do
    dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if [ "${#need[@]}" -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    echo "Installing: ${need[*]}"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${need[@]}"
fi

# ccache, where the machine has it, keeps the builds of other clones short.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=true
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$FUZZ_BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKARTOLA_FUZZ=ON -DKARTOLA_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$FUZZ_BUILD_DIR" -j2 --target kartola_fuzzers

targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
    for src in "$ROOT"/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$src" .cpp)")
    done
fi
if [ -n "$TOTAL_SECONDS" ]; then
    RUN_SECONDS=$((TOTAL_SECONDS / ${#targets[@]}))
    [ "$RUN_SECONDS" -ge 1 ] || RUN_SECONDS=1
    echo "== ${TOTAL_SECONDS} s over ${#targets[@]} targets: ${RUN_SECONDS} s each"
fi

mkdir -p "$FUZZ_BUILD_DIR/crashes" "$FUZZ_BUILD_DIR/logs"
failed=()
summary=()
for target in "${targets[@]}"; do
    name="${target#fuzz_}"
    corpus="$FUZZ_BUILD_DIR/corpus/$name"
    log="$FUZZ_BUILD_DIR/logs/$name.log"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$ROOT/fuzz/seeds/$name" ] && seeds+=("$ROOT/fuzz/seeds/$name")
    echo "== $target: ${RUN_SECONDS} s"
    status=0
    "$FUZZ_BUILD_DIR/bin/$target" -max_total_time="$RUN_SECONDS" -print_final_stats=1 -rss_limit_mb=2048 \
        -timeout=30 -artifact_prefix="$FUZZ_BUILD_DIR/crashes/$name-" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
    execs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)"
    if [ "$status" -ne 0 ]; then
        failed+=("$target")
        summary+=("$target: FAILED (exit $status) after ${execs:-?} executions, log $log")
        tail -n 40 "$log"
    else
        summary+=("$target: ${execs:-?} executions in ${RUN_SECONDS} s, no crash")
    fi
done

echo "== fuzzing summary"
printf '%s\n' "${summary[@]}"
[ "${#failed[@]}" -eq 0 ]
