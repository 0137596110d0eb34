#!/usr/bin/env bash
# Builds the libFuzzer harnesses (fuzz preset: clang, AddressSanitizer + UBSan)
# and runs each for SECONDS (default 30) on a scratch copy of its seed corpus in
# fuzz/corpus; inputs found along the way are dropped afterwards. Crash inputs
# are kept in build/fuzz/crashes/<harness>/ and each run's output in
# build/fuzz/logs/<harness>.log. Exits non-zero if any harness fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if [[ ! $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [SECONDS]" >&2
    exit 2
fi

harnesses=(fuzz_journal fuzz_romopen fuzz_tilefiles fuzz_cliargs fuzz_palettefile)

scripts/setup.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzzers

bin=build/fuzz/fuzz
crashes=build/fuzz/crashes
logs=build/fuzz/logs
mkdir -p "$logs"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/glyphox-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

passed=0
failed=0
for harness in "${harnesses[@]}"; do
    corpus=$scratch/$harness/corpus
    mkdir -p "$corpus" "$scratch/$harness/tmp" "$crashes/$harness"
    cp fuzz/corpus/"$harness"/* "$corpus"/
    log=$logs/$harness.log
    echo "== $harness: $seconds s"
    # The harness's temporary files live in the scratch folder too.
    if TMPDIR=$scratch/$harness/tmp "$bin/$harness" -max_total_time="$seconds" \
        -rss_limit_mb=2048 -timeout=10 -max_len=8192 -print_final_stats=1 \
        -artifact_prefix="$crashes/$harness/" "$corpus" >"$log" 2>&1; then
        passed=$((passed + 1))
        grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || true
    else
        failed=$((failed + 1))
        echo "$harness FAILED; full output in $log, inputs in $crashes/$harness/" >&2
        tail -n 60 "$log" >&2
    fi
done

echo "fuzz: $passed passed, $failed failed"
((failed == 0))
