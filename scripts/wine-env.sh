# Sourced by scripts/test.sh and scripts/run.sh: chooses the Windows build that
# this machine can run, prepares its private Wine prefix and virtual displays.

PELMIRA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PELMIRA_BUILD=${PELMIRA_BUILD:-$PELMIRA_ROOT/build}

# Some kernels cannot execute 32-bit code at all; wine32 then cannot start and
# the Wine tests run on the x86_64 build of the same sources instead.
pelmira_can_run_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Sets PELMIRA_WIN_BUILD, PELMIRA_WINE and the Wine variables for the build
# that runs here. $1 names the prefix: the tests and the run command keep
# their own, so a user never meets what the tests left behind.
pelmira_choose_wine() {
    local purpose=${1:-test}
    if pelmira_can_run_32bit; then
        PELMIRA_WIN_ARCH=i686
        PELMIRA_WIN_BUILD=$PELMIRA_BUILD/win32
        export PELMIRA_WINE=wine
    else
        PELMIRA_WIN_ARCH=x86_64
        PELMIRA_WIN_BUILD=$PELMIRA_BUILD/win64
        export PELMIRA_WINE=/usr/lib/wine/wine64
        export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    fi
    export WINEPREFIX=$PELMIRA_BUILD/wineprefix-$purpose-$PELMIRA_WIN_ARCH
    export WINEDEBUG=-all
}

# Configures and builds one cross build: $1 = build folder, $2 = i686 or x86_64.
pelmira_cross_build() {
    cmake -S "$PELMIRA_ROOT" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PELMIRA_ROOT/cmake/mingw-$2.cmake" >/dev/null
    cmake --build "$1" -- --quiet
}

pelmira_wine() {
    env LC_ALL=ja_JP.UTF-8 "$PELMIRA_WINE" "$@"
}

# Creates the prefix once: a Japanese system whose UI fonts map to IPA fonts.
pelmira_prepare_prefix() {
    [ -f "$WINEPREFIX/.pelmira-ready" ] && return 0
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    echo "wine: creating prefix $WINEPREFIX"
    WINEDLLOVERRIDES="mscoree,mshtml=" pelmira_wine wineboot -i >/dev/null 2>&1
    local key='HKCU\Software\Wine\Fonts\Replacements'
    local face
    for face in "ＭＳ Ｐゴシック" "MS UI Gothic" "MS PGothic"; do
        pelmira_wine reg add "$key" /v "$face" /d "IPAPGothic" /f >/dev/null 2>&1
    done
    for face in "ＭＳ ゴシック" "MS Gothic"; do
        pelmira_wine reg add "$key" /v "$face" /d "IPAGothic" /f >/dev/null 2>&1
    done
    "${WINESERVER:-wineserver}" -w
    touch "$WINEPREFIX/.pelmira-ready"
}

# Starts Xvfb at the given depth and exports DISPLAY; $1 = depth, $2 = display number.
pelmira_start_xvfb() {
    local depth=$1 number=$2
    rm -f "/tmp/.X${number}-lock" "/tmp/.X11-unix/X${number}"
    Xvfb ":$number" -screen 0 "1024x768x$depth" -nolisten tcp >/dev/null 2>&1 &
    PELMIRA_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        [ -S "/tmp/.X11-unix/X${number}" ] && break
        sleep 0.1
    done
    export DISPLAY=":$number"
}

pelmira_stop_xvfb() {
    "${WINESERVER:-wineserver}" -k >/dev/null 2>&1 || true
    if [ -n "${PELMIRA_XVFB_PID:-}" ]; then
        kill "$PELMIRA_XVFB_PID" 2>/dev/null || true
        wait "$PELMIRA_XVFB_PID" 2>/dev/null || true
        PELMIRA_XVFB_PID=
    fi
}
