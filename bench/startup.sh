#!/usr/bin/env bash
# Start-up benchmark (a report, not a test): the time from process start to the window on screen (mapped)
# and drawn (the launcher with its first tile, the bare window with its title strip), for launcher.exe and
# for bare_window.exe, the smallest Win32 window program, under one Xvfb and one persistent wineserver;
# the peak memory (VmHWM) of each process and the size of each executable.
#
# Usage: bench/startup.sh BUILD_DIR [RUNS] (BUILD_DIR a Release build from scripts/test, build/win).
# Installs what it needs on Debian or Ubuntu: Wine, Xvfb and the X tools as the end-to-end tests, and a C
# compiler with the X11 headers for the pixel probe.
set -euo pipefail

BUILD=$(cd "${1:?usage: startup.sh BUILD_DIR [RUNS]}" && pwd)
RUNS=${2:-7}
HERE=$(cd "$(dirname "$0")" && pwd)
# The display, the Wine prefix and the staging of the end-to-end tests.
# shellcheck source=tests/e2e/lib.sh
. "$HERE/../tests/e2e/lib.sh"

# The launcher with every program of the default catalogue installed, and the bare window (bench/stage.sh).
# shellcheck source=bench/stage.sh
. "$HERE/stage.sh"
bench_setup

launcher_cmd=("$WINE64" 'T:\Tessaly Launcher\launcher.exe')
bare_cmd=("$WINE64" 'T:\bare_window.exe')
# Where each is watched: the middle of the first tile's picture (tile area at 14, 72; first cell centre
# 90, 60), and the bare window's title strip.
launcher_point=(104 132)
bare_point=(400 30)

# One start of a program: prints "mapped_ms drawn_ms peak_kB", then ends it.
measure() {
    local point_x=$1 point_y=$2 colour=$3
    shift 3
    local line mapped drawn pid peak
    line=$("$E2E_TMP/pixelprobe" "$point_x" "$point_y" "$colour" 20000 -- "$@")
    read -r mapped drawn pid <<<"$line"
    sleep 1
    peak=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    kill "$pid" 2>/dev/null || true
    e2e_wait_exit "$pid" 10 || true
    sleep 0.3
    printf '%s %s %s\n' "$mapped" "$drawn" "$peak"
}

# The colour the point settles to, from a first start that also writes the settings file and warms
# every cache; the timed runs wait for it.
settle_colour() {
    local point_x=$1 point_y=$2
    shift 2
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 4
    local colour
    colour=$(e2e_pixel "$point_x" "$point_y" | awk -F, '{printf "%02x%02x%02x", $1, $2, $3}')
    import -display "$DISPLAY" -window root "$E2E_TMP/settled-$pid.png"
    kill "$pid" 2>/dev/null || true
    e2e_wait_exit "$pid" 10 || true
    sleep 0.3
    printf '%s\n' "$colour"
}

launcher_colour=$(settle_colour "${launcher_point[@]}" "${launcher_cmd[@]}")
bare_colour=$(settle_colour "${bare_point[@]}" "${bare_cmd[@]}")
# Screenshots of the settled windows, to look at, when BENCH_SHOTS names a folder.
[ -n "${BENCH_SHOTS:-}" ] && cp "$E2E_TMP"/settled-*.png "$BENCH_SHOTS"/

: >"$E2E_TMP/launcher.txt"
: >"$E2E_TMP/bare.txt"
for _ in $(seq 1 "$RUNS"); do
    measure "${launcher_point[@]}" "$launcher_colour" "${launcher_cmd[@]}" >>"$E2E_TMP/launcher.txt"
    measure "${bare_point[@]}" "$bare_colour" "${bare_cmd[@]}" >>"$E2E_TMP/bare.txt"
done

# Median and range of a column of a results file.
summary() {
    sort -n -k"$2" "$1" | awk -v c="$2" '{v[NR] = $c} END {printf "median %s (min %s, max %s)", v[int((NR + 1) / 2)], v[1], v[NR]}'
}

echo "runs: $RUNS each, one Xvfb, one persistent wineserver"
echo "launcher.exe: $(stat -c %s "$BUILD/launcher.exe") bytes"
echo "  mapped ms: $(summary "$E2E_TMP/launcher.txt" 1)"
echo "  drawn ms:  $(summary "$E2E_TMP/launcher.txt" 2)"
echo "  peak kB:   $(summary "$E2E_TMP/launcher.txt" 3)"
echo "bare_window.exe: $(stat -c %s "$BUILD/bare_window.exe") bytes"
echo "  mapped ms: $(summary "$E2E_TMP/bare.txt" 1)"
echo "  drawn ms:  $(summary "$E2E_TMP/bare.txt" 2)"
echo "  peak kB:   $(summary "$E2E_TMP/bare.txt" 3)"
