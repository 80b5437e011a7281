# Sourced by the run and test scripts: installs what is missing, builds, and
# starts (and later stops) a private Xvfb display and Wine prefix.
# Everything lives under $GLIMVANE_BUILD so a run never touches the user's own prefix.

GLIMVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
GLIMVANE_BUILD=${GLIMVANE_BUILD:-$GLIMVANE_ROOT/build}
GLIMVANE_PREFIXES=()

glimvane_install_deps() {
    local need=()
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64)
    command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
    command -v cmake >/dev/null || need+=(cmake)
    command -v wine >/dev/null || need+=(wine)
    command -v Xvfb >/dev/null || need+=(xvfb)
    command -v xdpyinfo >/dev/null || need+=(x11-utils)
    [ -x /usr/bin/import ] || need+=(imagemagick)
    [ -d /usr/share/fonts/truetype/wqy ] || need+=(fonts-wqy-microhei)
    [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
    command -v python3 >/dev/null || need+=(python3)
    glimvane_apt_install "${need[@]}"
}

# Installs the named Debian packages, if any are named.
glimvane_apt_install() {
    [ $# -gt 0 ] || return 0
    echo "Installing: $*"
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@" >/dev/null
}

glimvane_build() {
    cmake -S "$GLIMVANE_ROOT" -B "$GLIMVANE_BUILD" \
        -DCMAKE_TOOLCHAIN_FILE="$GLIMVANE_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DGLIMVANE_TESTS=ON >/dev/null &&
        cmake --build "$GLIMVANE_BUILD" -j"$(nproc)"
}

# The 32-bit program, with every warning (pointer truncation above all) an error.
glimvane_build_32bit() {
    cmake -S "$GLIMVANE_ROOT" -B "$GLIMVANE_BUILD-i686" \
        -DCMAKE_TOOLCHAIN_FILE="$GLIMVANE_ROOT/cmake/mingw-w64-i686.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DGLIMVANE_TESTS=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null &&
        cmake --build "$GLIMVANE_BUILD-i686" -j"$(nproc)" >/dev/null &&
        echo "32-bit build: $GLIMVANE_BUILD-i686/bin/glimvane.exe, no warnings"
}

# Starts Xvfb on a free display number and a wineserver for a prefix inside the build folder.
glimvane_start_display() {
    local n=${GLIMVANE_DISPLAY_NUMBER:-}
    if [ -z "$n" ]; then
        for n in $(seq 90 130); do
            [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] || break
        done
    fi
    Xvfb :$n -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
    GLIMVANE_XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on :$n" >&2; return 1; }
}

# Makes a Wine prefix once, with the settings Glimvane's tests rely on, at the given dpi.
glimvane_make_prefix() {
    local prefix=$1 dpi=$2
    [ -f "$prefix/.glimvane-ready" ] && return
    rm -rf "$prefix"
    WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1
    # Without Managed=N Wine waits for a window manager that is not there (every hide
    # stalls about 2 s); without the font substitutes Chinese captions show as boxes.
    WINEPREFIX=$prefix wine regedit /S "$GLIMVANE_ROOT/scripts/wine-settings.reg" >/dev/null 2>&1
    if [ "$dpi" != 96 ]; then
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$dpi" >"$prefix.reg"
        WINEPREFIX=$prefix wine regedit /S "$prefix.reg" >/dev/null 2>&1
        rm -f "$prefix.reg"
    fi
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    WINEPREFIX=$prefix wineserver -w 2>/dev/null
    touch "$prefix/.glimvane-ready"
}

# A persistent server and one idle Wine program per prefix keep Wine's own services running,
# so every later start is warm and no service inherits (and holds open) a test runner's pipes.
glimvane_keep_warm() {
    local prefix=$1
    WINEPREFIX=$prefix wineserver -p >/dev/null 2>&1 </dev/null
    # cmd waits on its input, a pipe that this shell holds open until it ends.
    WINEPREFIX=$prefix wine cmd <"$GLIMVANE_KEEPALIVE" >/dev/null 2>&1 &
    WINEPREFIX=$prefix wine cmd /c exit >/dev/null 2>&1 </dev/null
}

glimvane_start_wine() {
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX=$GLIMVANE_BUILD/wineprefix
    GLIMVANE_PREFIXES=("$WINEPREFIX")
    glimvane_make_prefix "$WINEPREFIX" 96
    if [ "${1:-}" = with-scaled ]; then
        GLIMVANE_PREFIXES+=("$GLIMVANE_BUILD/wineprefix-144dpi")
        glimvane_make_prefix "$GLIMVANE_BUILD/wineprefix-144dpi" 144
    fi
    GLIMVANE_KEEPALIVE=$GLIMVANE_BUILD/keepalive.fifo
    rm -f "$GLIMVANE_KEEPALIVE"
    mkfifo "$GLIMVANE_KEEPALIVE"
    exec {GLIMVANE_KEEPALIVE_FD}<>"$GLIMVANE_KEEPALIVE"
    local prefix
    for prefix in "${GLIMVANE_PREFIXES[@]}"; do glimvane_keep_warm "$prefix"; done
}

glimvane_stop() {
    local prefix
    for prefix in "${GLIMVANE_PREFIXES[@]}"; do
        WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    done
    GLIMVANE_PREFIXES=()
    if [ -n "${GLIMVANE_KEEPALIVE_FD:-}" ]; then
        exec {GLIMVANE_KEEPALIVE_FD}>&-
        GLIMVANE_KEEPALIVE_FD=
        rm -f "$GLIMVANE_KEEPALIVE"
    fi
    if [ -n "${GLIMVANE_XVFB_PID:-}" ]; then
        kill "$GLIMVANE_XVFB_PID" 2>/dev/null
        wait "$GLIMVANE_XVFB_PID" 2>/dev/null
        GLIMVANE_XVFB_PID=
    fi
}
