#!/usr/bin/env bash
# Replays every corpus input through the fuzz targets built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs the fixed checks; each input and each check is one test.
set -uo pipefail
source "$(dirname "$0")/common.sh"

native_install_deps || exit 1
native_build || exit 1

passed=0
failed=0
logs=$NATIVE_BUILD/check
mkdir -p "$logs"
shopt -s nullglob

for target in "${NATIVE_TARGETS[@]}"; do
    binary=$NATIVE_BUILD/${target}_fuzz
    if [ ! -x "$binary" ]; then
        echo "$target: skipped, not built (see the configure warning)"
        continue
    fi
    inputs=("$NATIVE_ROOT/corpus/$target"/*)
    if [ ${#inputs[@]} -eq 0 ]; then
        # Given no files, a libFuzzer binary would start fuzzing instead of replaying.
        echo "$target: FAIL, corpus/$target is empty"
        failed=$((failed + 1))
        continue
    fi
    if "$binary" -timeout=10 "${inputs[@]}" >"$logs/$target.log" 2>&1; then
        echo "$target: ${#inputs[@]} inputs replayed"
        passed=$((passed + ${#inputs[@]}))
        continue
    fi
    # libFuzzer stops at the first failing input; rerun one by one to name them all.
    for input in "${inputs[@]}"; do
        if "$binary" -timeout=10 "$input" >"$logs/$target.one.log" 2>&1; then
            passed=$((passed + 1))
        else
            failed=$((failed + 1))
            echo "$target: FAIL ${input#"$NATIVE_ROOT"/}"
            grep -v -e '^INFO:' -e '^Running:' -e '^Executed' "$logs/$target.one.log" | head -40
        fi
    done
done

output=$("$NATIVE_BUILD/pure_checks" 2>&1)
status=$?
summary=$(tail -n 1 <<<"$output")
if [[ $summary =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    passed=$((passed + BASH_REMATCH[1]))
    failed=$((failed + BASH_REMATCH[2]))
    [ "$status" -eq 0 ] || [ "${BASH_REMATCH[2]}" -gt 0 ] || failed=$((failed + 1))
else
    failed=$((failed + 1)) # a sanitizer ended it before its summary
fi
if [ "$status" -ne 0 ]; then
    echo "pure_checks:"
    echo "$output" | head -60
else
    echo "pure_checks: $summary"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
