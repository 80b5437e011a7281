# Sourced by check.sh and fuzz.sh: installs clang if the machine lacks it, then builds the
# sanitized fuzz targets and fixed checks into $NATIVE_BUILD.

NATIVE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$NATIVE_ROOT/../scripts/env.sh"
NATIVE_BUILD=${GLIMVANE_NATIVE_BUILD:-$NATIVE_ROOT/build}
NATIVE_TARGETS=(number_text icon_file window_text)

native_find_compiler() {
    local candidate
    for candidate in clang++ clang++-14; do
        command -v "$candidate" >/dev/null || continue
        # libFuzzer ships apart from the compiler on Debian.
        if [ -f "$("$candidate" -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]; then
            NATIVE_CXX=$(command -v "$candidate")
            return 0
        fi
    done
    return 1
}

native_install_deps() {
    local need=()
    native_find_compiler || need+=(clang-14 libclang-rt-14-dev)
    command -v cmake >/dev/null || need+=(cmake)
    # Without a symbolizer, sanitizer reports show addresses instead of source lines.
    command -v llvm-symbolizer >/dev/null || command -v llvm-symbolizer-14 >/dev/null || need+=(llvm-14)
    if [ ${#need[@]} -gt 0 ]; then
        glimvane_apt_install "${need[@]}"
        native_find_compiler || { echo "no clang++ with libFuzzer found" >&2; return 1; }
    fi
    local symbolizer
    symbolizer=$(command -v llvm-symbolizer || command -v llvm-symbolizer-14 || true)
    [ -z "$symbolizer" ] || export ASAN_SYMBOLIZER_PATH=$symbolizer UBSAN_SYMBOLIZER_PATH=$symbolizer
    # Every sanitizer report must end the run with a failure, leaks included.
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
}

native_build() {
    local generator=()
    command -v ninja >/dev/null && [ ! -f "$NATIVE_BUILD/CMakeCache.txt" ] && generator=(-G Ninja)
    cmake -S "$NATIVE_ROOT" -B "$NATIVE_BUILD" "${generator[@]}" -DCMAKE_CXX_COMPILER="$NATIVE_CXX" >/dev/null ||
        { echo "native configure failed" >&2; return 1; }
    cmake --build "$NATIVE_BUILD" -j"$(nproc)" >"$NATIVE_BUILD/build.log" 2>&1 ||
        { cat "$NATIVE_BUILD/build.log" >&2; echo "native build failed" >&2; return 1; }
}
