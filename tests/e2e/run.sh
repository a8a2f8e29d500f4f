#!/usr/bin/env bash
# End-to-end tests of the Windows build under Wine on a virtual X display: the window host's own tests
# (win32_window_tests.exe, which need a display), then launcher.exe as a user meets it, driven with xdotool
# and checked on screenshots and on its settings file. The tests are the functions named test_... in the
# files test_*.sh of this folder, one file a topic; they run in the order of the files and of the functions
# in them. Each test stages its own copy of the launcher, and whatever it leaves running ends after it; the
# run has its own Wine prefix and X display, and leaves nothing behind.
#
# Usage: tests/e2e/run.sh BUILD_DIR [TEST...] (the mingw build folder holding launcher.exe; by default every
# test runs); ctest runs it in the cross build. Needs wine64, Xvfb, xdotool, x11-utils, ImageMagick and
# e2fsprogs (chattr). E2E_DISPLAYS="61 62" picks the X display numbers to try (default :90 to :99).
set -euo pipefail

BUILD=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/lib.sh
. "$HERE/lib.sh"

for tool in Xvfb xdotool xdpyinfo import compare iconv md5sum "$WINE64"; do
    command -v "$tool" >/dev/null || { e2e_log "missing: $tool"; exit 1; }
done

# ---- What the tests share ----

E2E_FAILED=0 # set by a failed check; the test then fails, though it goes on checking

fail() {
    e2e_log "   $*"
    E2E_FAILED=1
    return 1
}

# expect DESCRIPTION ACTUAL WANTED
expect() {
    [ "$2" = "$3" ] && return 0
    if [[ "$2$3" == *$'\n'* ]]; then
        e2e_log "   $1: differs from what was wanted (-) by (+):"
        diff <(printf '%s\n' "$3") <(printf '%s\n' "$2") | grep '^[<>]' | sed 's/^</   -/; s/^>/   +/' >&2
        E2E_FAILED=1
        return 1
    fi
    fail "$1: got '$2', wanted '$3'"
}

# Stages a fresh launcher named $1 (FOLDER, the launcher's folder, in ROOT, which is drive T:; SETTINGS,
# its settings file), runs command $2... to prepare it, starts it and waits until its window is drawn (its
# title bar at TITLE_X, TITLE_Y, 400, 30 unless set); sets LAUNCHER_PID and LAUNCHER_WID.
launch_staged() {
    FOLDER=$(e2e_stage "$1")
    ROOT=$(dirname "$FOLDER")
    SETTINGS="$FOLDER/data/progdata.xml"
    shift
    [ $# -eq 0 ] || "$@" || fail "the launcher could not be prepared" || return 1
    e2e_start_launcher "$FOLDER"
    LAUNCHER_WID=$(e2e_wait_window 'Tessaly Collection') || fail "no window" || return 1
    e2e_wait_pixel "${TITLE_X:-400}" "${TITLE_Y:-30}" "0,0,128" || fail "the title bar was not drawn"
}

# Installs program $2 at "Program Files\Tessaly\$1" of drive T:.
install_program() { e2e_install_program "$ROOT" "$@"; }

# The settings file of several tests: three programs in an order of their own, one of them hidden.
write_own_settings() {
    printf '%s\n' "<programs>" "<options showall='True' />" "<order p0='2' p1='0' p2='1' />" \
        "<program name='Alpha' path='T:\\Apps\\alpha.exe' show='T' />" \
        "<program name='Beta' path='T:\\Apps\\beta.exe' show='F' />" \
        "<program name='Gamma' path='T:\\Apps\\gamma.exe' show='T' />" "</programs>" | e2e_write_crlf "$SETTINGS"
}

# The settings file holds the 33 lines of the 29 slots, $1 programs shown.
expect_settings_of_29() {
    expect "settings file lines" "$(e2e_lines "$SETTINGS")" 33
    expect "programs shown" "$(grep -c "show='T'" "$SETTINGS" || true)" "$1"
}

# Screen positions in the maximised window (1024 x 768): the tile area starts at 14, 72 and its cells are
# 180 x 120 pixels, five to a row; a tile's picture is centred on its cell's middle. The exit button is at
# 975, 12 (37 x 37), the maximise/restore button 4 pixels left of it.
cell_left() { echo $((14 + ($1 % 5) * 180)); }
cell_top() { echo $((72 + ($1 / 5) * 120)); }
tile_x() { echo $(($(cell_left "$1") + 90)); }
tile_y() { echo $(($(cell_top "$1") + 60)); }
click_tile() { xdotool mousemove --window "$LAUNCHER_WID" $(($(tile_x "$1") + ${2:-0})) $(($(tile_y "$1") + ${2:-0})) click 1; }

# Leaves through the exit button and waits for the process to end.
quit_by_exit_button() {
    xdotool mousemove --window "$LAUNCHER_WID" 993 30 click 1
    e2e_wait_exit "$LAUNCHER_PID" 15 || fail "the launcher did not end"
}

screenshot() { import -display "$DISPLAY" -window root "$E2E_TMP/$1.png"; }
# A screenshot once the screen has stopped changing (two alike in a row, 0.3 s apart; 6 s at most): a busy
# machine may still be painting a window that has just appeared.
settled_screenshot() {
    local before="" now
    for _ in $(seq 20); do
        screenshot "$1"
        now=$("$CONVERT" "$E2E_TMP/$1.png" rgb:- | md5sum)
        [ "$now" = "$before" ] && return 0
        before=$now
        sleep 0.3
    done
}

# ---- The run ----

tests=()
for file in "$HERE"/test_*.sh; do
    # shellcheck source=/dev/null
    . "$file"
    mapfile -t -O "${#tests[@]}" tests < <(sed -n 's/^\(test_[a-z0-9_]*\)() {$/\1/p' "$file")
done
selected=("${@:2}")
[ ${#selected[@]} -gt 0 ] || selected=("${tests[@]}")

e2e_init
e2e_start_display
e2e_log "display $DISPLAY, making the Wine prefix"
# A Wine prefix for this run only (about 700 MB and 15 s): no crash debugger, unmanaged windows (no window
# manager under Xvfb), and a wineserver kept alive between the programs of the run.
make_wine_prefix "$E2E_TMP/prefix"

passed=0
failures=()
for test in "${selected[@]}"; do
    e2e_log "-- $test"
    E2E_FAILED=0
    if "$test" && [ "$E2E_FAILED" -eq 0 ]; then
        passed=$((passed + 1))
        e2e_log "   ok"
    else
        failures+=("$test")
        e2e_log "   FAILED"
    fi
    # Whatever a test left running ends here, before the next one.
    e2e_make_changeable
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    "$WINESERVER" -p
done

[ ${#failures[@]} -eq 0 ] || e2e_log "failed: ${failures[*]}"
echo "$passed passed, ${#failures[@]} failed"
[ ${#failures[@]} -eq 0 ]
