#!/usr/bin/env bash
# Fuzzes every target for a share of about a minute (GLIMVANE_FUZZ_SECONDS), then merges what
# was found into corpus/<target>/, keeping only the inputs that add coverage.
set -uo pipefail
source "$(dirname "$0")/common.sh"

native_install_deps || exit 1
native_build || exit 1

total=${GLIMVANE_FUZZ_SECONDS:-60}

# fuzz_target NAME SECONDS MAX_LEN
fuzz_target() {
    local name=$1 seconds=$2 max_len=$3
    local binary=$NATIVE_BUILD/${name}_fuzz corpus=$NATIVE_ROOT/corpus/$name work=$NATIVE_BUILD/fuzz/$name
    if [ ! -x "$binary" ]; then
        echo "$name: skipped, not built (see the configure warning)"
        return 0
    fi
    rm -rf "$work"
    mkdir -p "$work/found" "$work/merged" "$work/crashes" "$corpus"
    local options=()
    [ -f "$NATIVE_ROOT/dict/$name.dict" ] && options+=(-dict="$NATIVE_ROOT/dict/$name.dict")
    local status=0
    # New inputs land in the first folder, which keeps the committed corpus untouched until the merge.
    "$binary" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -use_value_profile=1 \
        -print_final_stats=1 -artifact_prefix="$work/crashes/" "${options[@]}" \
        "$work/found" "$corpus" >"$work/fuzz.log" 2>&1 || status=$?
    # Merging into an empty folder yields a smallest set with the coverage of both.
    if ! "$binary" -merge=1 -timeout=10 "$work/merged" "$corpus" "$work/found" >"$work/merge.log" 2>&1; then
        echo "$name: merge failed, see $work/merge.log"
        return 1
    fi
    find "$corpus" -type f -delete
    cp "$work/merged"/* "$corpus"/
    local runs
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/fuzz.log" | grep -o '[0-9]*$')
    echo "$name: ${runs:-?} runs in ${seconds}s, corpus now $(find "$corpus" -type f | wc -l) files"
    if [ "$status" -ne 0 ]; then
        echo "$name: FAILED (exit $status); inputs kept in $work/crashes/:"
        ls "$work/crashes"
        grep -v -e '^INFO:' -e '^#' "$work/fuzz.log" | head -60
        return 1
    fi
}

# Two cores: the number reader, the richest target, runs alongside the other two in turn.
fuzz_target number_text $((total * 9 / 10)) 1024 >"$NATIVE_BUILD/fuzz-number_text.out" 2>&1 &
number_text=$!
status=0
fuzz_target icon_file $((total / 2)) 1024 || status=1
fuzz_target window_text $((total * 3 / 10)) 256 || status=1
wait "$number_text" || status=1
cat "$NATIVE_BUILD/fuzz-number_text.out"
exit "$status"
