# Shared by the scripts that start Wine (test, run, bench, screenshots, package): the build
# folder, the Wine prefix, the character set, and helpers that start a persistent wineserver and
# an Xvfb display and stop them again by their process ids.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Wine converts file names through the character set of the Unix locale: under one that is not
# UTF-8 (the POSIX locale of an empty environment, a service manager, a container) names beyond
# ASCII can be neither listed nor opened. Wine and its programs get UTF-8 whatever the caller set.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    export LC_ALL=C.UTF-8
fi
build=${BUILD_DIR:-$root/build}
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

ensure_setup() {
    if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v wine >/dev/null ||
        ! command -v Xvfb >/dev/null || ! command -v chmcmd >/dev/null ||
        ! command -v rsvg-convert >/dev/null || [ ! -e /usr/local/share/fonts/wine-tahoma/tahoma.ttf ] ||
        ! command -v xdpyinfo >/dev/null || ! command -v makensis >/dev/null ||
        [ ! -f "$root/third_party/hidapi/windows/hid.c" ]; then
        bash "$root/scripts/setup"
    fi
}

configure_and_build() {
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
    cmake --build "$build"
}

started_pids=()
stop_started() {
    # Ends the Wine processes of this prefix (services included) before their server goes.
    wineserver -k 2>/dev/null || true
    for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${started_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}

start_xvfb() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    started_pids+=($!)
    for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
    export DISPLAY=":$(tr -d '\n' <"$fdfile")"
    rm -f "$fdfile"
}

start_wineserver() {
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -f -p >/dev/null 2>&1 &
    started_pids+=($!)
    # Wine's own services start with the first program and inherit its output; start them
    # here so that no test's output pipe stays open after the test ends.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    link_cjk_font
}

# Tahoma, the programs' interface font, links to a CJK font so that the fixed Chinese texts
# render as glyphs; programs started after this see the link.
link_cjk_font() {
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
        /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1 || true
}
