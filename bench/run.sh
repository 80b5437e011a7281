#!/usr/bin/env bash
# Measures Glimvane's size, memory, start-up, hotkey latency, burst handling and idle cost under
# Wine, side by side with stand-ins built in the same run, and prints one results table.
# Usage: bench/run.sh [driver options, e.g. --quick]. Takes two to three minutes.
set -euo pipefail
bench_dir=$(cd "$(dirname "$0")" && pwd)
# A build folder, Wine prefix and display of its own, so a benchmark never meets (or stops) a
# test run's programs. Set before env.sh, which derives the prefix from the build folder.
GLIMVANE_BUILD=${GLIMVANE_BUILD:-$(dirname "$bench_dir")/build-bench}
GLIMVANE_DISPLAY_NUMBER=${GLIMVANE_DISPLAY_NUMBER:-150}
export GLIMVANE_BUILD GLIMVANE_DISPLAY_NUMBER
source "$bench_dir/../scripts/env.sh"

glimvane_install_deps
# Glimvane as the project builds it (MinSizeRel, 64-bit), but only the programs measured here:
# the tests stay out, so a half-finished test elsewhere cannot stop a benchmark.
cmake -S "$GLIMVANE_ROOT" -B "$GLIMVANE_BUILD" \
    -DCMAKE_TOOLCHAIN_FILE="$GLIMVANE_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DGLIMVANE_TESTS=OFF -DGLIMVANE_BENCH=ON >/dev/null
cmake --build "$GLIMVANE_BUILD" -j"$(nproc)" --target driver >/dev/null

exe=$GLIMVANE_BUILD/bin/glimvane.exe
size=$(stat -c %s "$exe")
mapfile -t dlls < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
# What every Windows since 7 ships in System32 (the API sets and the CRT included).
system_dll='^(kernel32|user32|gdi32|shell32|advapi32|comctl32|comdlg32|ole32|oleaut32|shlwapi|uxtheme|dwmapi|imm32|winmm|version|psapi|ntdll|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
foreign=()
for dll in "${dlls[@]}"; do
    echo "$dll" | grep -qiE "$system_dll" || foreign+=("$dll")
done
size_met=met
[ "$size" -le 102400 ] && [ ${#foreign[@]} -eq 0 ] || size_met="**NOT met**"
size_row="| size of glimvane.exe | bytes on disk (MinSizeRel, static, stripped); imports (objdump -p) | $size B = $((size / 1024)) KB; ${dlls[*]} | — | $(awk "BEGIN{printf \"%.0f%%\", $size*100/102400}") of 100 KB${foreign:+; not system: ${foreign[*]}} | ≤ 100 KB, system DLLs only | $size_met |"

trap glimvane_stop EXIT
glimvane_start_display
# A server left from an interrupted run makes `wineserver -p` fail; the run can still go on.
set +e
glimvane_start_wine
set -e
[ "$WINEPREFIX" = "$GLIMVANE_BUILD/wineprefix" ] || { echo "unexpected prefix $WINEPREFIX" >&2; exit 1; }

started=$(date -u)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
table=$(wine "$GLIMVANE_BUILD/bin/driver.exe" "$@" </dev/null | tr -d '\r')
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
# The size row goes in right under the table's header.
{
    echo "Run: bench/run.sh${*:+ $*} — $started"
    echo "Machine: $(nproc) processors, load average $load_before before and $load_after after"
    echo
    echo "$table" | awk -v row="$size_row" '{ print } /^\|---/ && !done { print row; done = 1 }'
} | tee "$GLIMVANE_BUILD/bench-results.md"
