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

# What a prefix made by these scripts holds; a prefix of an older recipe is
# made again.
PELMIRA_PREFIX_RECIPE=2

pelmira_prefix_current() { # $1 = prefix
    [ "$(cat "$1/.pelmira-ready" 2>/dev/null)" = "$PELMIRA_PREFIX_RECIPE" ]
}

# The booted prefix that runs copy from: a Japanese system whose UI fonts map
# to IPA fonts. Made once per architecture, since the boot takes about 20 s.
# Debian's Wine loads none of its own TrueType fonts (fonts-wine puts them
# where this build does not look), so the caption buttons, drawn with
# Marlett's symbols, would show the letters "0 1 r": Marlett goes into the
# prefix's Fonts folder, where Wine finds every font.
pelmira_prefix_template() {
    export PELMIRA_PREFIX_TEMPLATE=$PELMIRA_BUILD/wineprefix-template-$PELMIRA_WIN_ARCH
    pelmira_prefix_current "$PELMIRA_PREFIX_TEMPLATE" && return 0
    rm -rf "$PELMIRA_PREFIX_TEMPLATE"
    mkdir -p "$(dirname "$PELMIRA_PREFIX_TEMPLATE")"
    echo "wine: booting the prefix template $PELMIRA_PREFIX_TEMPLATE"
    (
        export WINEPREFIX=$PELMIRA_PREFIX_TEMPLATE
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
    )
    cp /usr/share/wine/fonts/marlett.ttf "$PELMIRA_PREFIX_TEMPLATE/drive_c/windows/Fonts/"
    echo "$PELMIRA_PREFIX_RECIPE" >"$PELMIRA_PREFIX_TEMPLATE/.pelmira-ready"
}

# Ends the Wine processes of $WINEPREFIX and of its copies set to other
# Windows versions (scripts/wine-run.sh).
pelmira_end_wine() {
    local prefix
    for prefix in "$WINEPREFIX" "$WINEPREFIX"-win* "$WINEPREFIX"-dpi*; do
        if [ -d "$prefix" ]; then
            WINEPREFIX=$prefix "${WINESERVER:-wineserver}" -k >/dev/null 2>&1 || true
        fi
    done
}

# A fresh copy of the template as $WINEPREFIX: each test run starts from the
# same state, whatever an earlier run left behind.
pelmira_fresh_prefix() {
    pelmira_prefix_template
    pelmira_end_wine
    rm -rf "$WINEPREFIX" "$WINEPREFIX"-win* "$WINEPREFIX"-dpi*
    cp -a "$PELMIRA_PREFIX_TEMPLATE" "$WINEPREFIX"
}

# The run command's own prefix, kept between runs as a user's would be.
pelmira_prepare_prefix() {
    pelmira_prefix_current "$WINEPREFIX" || pelmira_fresh_prefix
}

# The number of the display the X server just started ($PELMIRA_XVFB_PID)
# writes to the file $1 once it is ready; nothing when it ends first or
# takes more than ten seconds.
pelmira_display_number() {
    local i
    for i in $(seq 1 100); do
        [ -s "$1" ] && break
        kill -0 "$PELMIRA_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    tr -dc '0-9' <"$1"
}

# Starts Xvfb at the given depth on a free display and exports DISPLAY; fails,
# saying so, when it does not start. $1 = depth.
pelmira_start_xvfb() {
    local depth=$1 ready number
    ready=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "1024x768x$depth" -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
    PELMIRA_XVFB_PID=$!
    number=$(pelmira_display_number "$ready")
    rm -f "$ready"
    if [ -z "$number" ]; then
        echo "Xvfb did not start a depth-$depth display" >&2
        kill "$PELMIRA_XVFB_PID" 2>/dev/null || true
        PELMIRA_XVFB_PID=
        return 1
    fi
    export DISPLAY=":$number"
}

# Starts a desk of three monitors and exports DISPLAY: Xorg with the dummy
# video driver (Xvfb's screens all stand at 0,0), its outputs arranged by
# xrandr as a primary 1024x768, an 800x600 left of it, 100 pixels lower,
# and a portrait 600x800 right of it.
# Wine reports one monitor per output. Fails, saying so, when it does not start.
pelmira_start_desk() {
    local dir ready number
    dir=$(mktemp -d)
    cat >"$dir/xorg.conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 4096 2048
    EndSubSection
EndSection
CONF
    ready="$dir/ready"
    Xorg -displayfd 3 -config "$dir/xorg.conf" -noreset -nolisten tcp -logfile "$dir/xorg.log" \
        3>"$ready" >/dev/null 2>&1 &
    PELMIRA_XVFB_PID=$!
    number=$(pelmira_display_number "$ready")
    # The third stands portrait: a mode of 600x800 of its own (cvt's timing).
    if [ -z "$number" ] || ! DISPLAY=":$number" xrandr --addmode DUMMY1 800x600 ||
        ! DISPLAY=":$number" xrandr --newmode 600x800 38.25 600 632 688 776 800 803 808 823 \
            -hsync +vsync ||
        ! DISPLAY=":$number" xrandr --addmode DUMMY2 600x800 ||
        ! DISPLAY=":$number" xrandr --output DUMMY0 --mode 1024x768 --pos 800x0 --primary \
            --output DUMMY1 --mode 800x600 --pos 0x100 \
            --output DUMMY2 --mode 600x800 --pos 1824x0; then
        echo "Xorg did not start a desk of three monitors (see $dir/xorg.log)" >&2
        kill "$PELMIRA_XVFB_PID" 2>/dev/null || true
        PELMIRA_XVFB_PID=
        return 1
    fi
    export DISPLAY=":$number"
    # A full query of the outputs settles the arrangement: until one has
    # been made, Wine (which asks for the current state only) sees one.
    [ "$(xrandr --query | grep -c ' connected')" -eq 3 ] ||
        { echo "the desk has not three monitors" >&2; return 1; }
}

pelmira_stop_xvfb() {
    pelmira_end_wine
    if [ -n "${PELMIRA_XVFB_PID:-}" ]; then
        kill "$PELMIRA_XVFB_PID" 2>/dev/null || true
        wait "$PELMIRA_XVFB_PID" 2>/dev/null || true
        PELMIRA_XVFB_PID=
    fi
}
