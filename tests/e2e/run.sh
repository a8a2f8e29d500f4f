#!/usr/bin/env bash
# End-to-end tests of the Windows build under Wine on a virtual X display: first the window host's own
# tests (win32_window_tests.exe, which need a display), then launcher.exe as a user meets it, driven with
# xdotool and checked on screenshots and on its settings file. Each test stages its own copy of the
# launcher; the run has its own Wine prefix and X display, and leaves nothing behind.
#
# Usage: tests/e2e/run.sh BUILD_DIR (the mingw build folder holding launcher.exe); ctest runs it in the
# cross build. Needs wine64, Xvfb, xdotool, x11-utils and ImageMagick.
set -euo pipefail

BUILD=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/lib.sh
. "$HERE/lib.sh"

for tool in Xvfb xdotool xdpyinfo import "$WINE64"; do
    command -v "$tool" >/dev/null || { e2e_log "missing: $tool"; exit 1; }
done

e2e_init
e2e_start_display
e2e_log "display $DISPLAY, making the Wine prefix"
e2e_make_prefix

passed=0
failed=0
failures=()

# Runs test function $1, counting it; a test reports its failures on stderr and returns non-zero.
run_test() {
    e2e_log "-- $1"
    if "$1"; then
        passed=$((passed + 1))
        e2e_log "   ok"
    else
        failed=$((failed + 1))
        failures+=("$1")
        e2e_log "   FAILED"
    fi
    # Whatever a test left running ends here, before the next one.
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    "$WINESERVER" -p
}

expect() {
    # expect DESCRIPTION ACTUAL WANTED
    if [ "$2" != "$3" ]; then
        e2e_log "   $1: got '$2', wanted '$3'"
        return 1
    fi
}

settings_lines() { tr -d '\r' <"$1" | wc -l; }
settings_shown() { grep -c "show='T'" "$1" || true; }

# The window host's own tests, on real windows.
test_window_host() {
    "$WINE64" "$BUILD/win32_window_tests.exe" >"$E2E_TMP/window-tests.log" 2>&1 || {
        grep -E 'FAILED|Failure|Expected|Which is|actual' "$E2E_TMP/window-tests.log" >&2 || true
        return 1
    }
    grep -q 'PASSED' "$E2E_TMP/window-tests.log"
}

# A first start without a settings file writes the default catalogue and shows the maximised window.
test_first_start_shows_maximised_window() {
    local folder pid wid ok=0
    folder=$(e2e_stage first)
    e2e_start_launcher "$folder"
    pid=$LAUNCHER_PID
    wid=$(e2e_wait_window 'Tessaly Collection') || { e2e_log "   no window"; return 1; }
    # Title bar navy once painted.
    e2e_wait_pixel 400 30 "0,0,128" || ok=1
    local geometry
    geometry=$(xdotool getwindowgeometry "$wid" | tr -d ' ' | tr '\n' ' ')
    expect "window geometry" "$geometry" "Window$wid Position:0,0(screen:0) Geometry:1024x768 " || ok=1
    import -display "$DISPLAY" -window root "$E2E_TMP/first-start.png"
    # Inside the tile area (14..1010 x 72..687), between two tile rows and two columns.
    expect "tile area between tiles" "$(e2e_pixel 192 205)" "255,255,255" || ok=1
    expect "tile area right of the last column" "$(e2e_pixel 950 400)" "255,255,255" || ok=1
    expect "settings file lines" "$(settings_lines "$folder/data/progdata.xml")" 33 || ok=1
    expect "programs shown" "$(settings_shown "$folder/data/progdata.xml")" 29 || ok=1
    e2e_stop "$pid"
    return $ok
}

# A second start while the launcher runs ends at once, shows nothing and leaves the first untouched.
test_second_instance_leaves_the_first_alone() {
    local folder first wid ok=0
    folder=$(e2e_stage second)
    e2e_start_launcher "$folder"
    first=$LAUNCHER_PID
    wid=$(e2e_wait_window 'Tessaly Collection') || { e2e_log "   no window"; return 1; }
    e2e_wait_pixel 400 30 "0,0,128" || ok=1
    local before
    before=$(md5sum <"$folder/data/progdata.xml")-$(stat -c %Y.%y "$folder/data/progdata.xml")
    local start=$SECONDS code=0
    timeout 30 "$WINE64" "T:\\Tessaly Launcher\\launcher.exe" >/dev/null 2>&1 || code=$?
    expect "second instance exit code" "$code" 0 || ok=1
    [ $((SECONDS - start)) -le 10 ] || { e2e_log "   the second instance took $((SECONDS - start)) s"; ok=1; }
    kill -0 "$first" 2>/dev/null || { e2e_log "   the first instance ended"; ok=1; }
    expect "launcher windows" "$(xdotool search --name '^Tessaly Collection$' | wc -l)" 1 || ok=1
    expect "settings file" "$(md5sum <"$folder/data/progdata.xml")-$(stat -c %Y.%y "$folder/data/progdata.xml")" \
        "$before" || ok=1
    e2e_stop "$first"
    return $ok
}

# A click on the exit button writes the settings file and ends the process.
test_exit_button_saves_and_ends() {
    local folder pid wid ok=0
    folder=$(e2e_stage exit)
    e2e_start_launcher "$folder"
    pid=$LAUNCHER_PID
    wid=$(e2e_wait_window 'Tessaly Collection') || { e2e_log "   no window"; return 1; }
    e2e_wait_pixel 400 30 "0,0,128" || ok=1
    : >"$folder/data/progdata.xml" # emptied, so that only a new write fills it
    # ExitBut in the maximised layout: Left = 1024 - 37 - 12 = 975, Top 12, 37 x 37.
    xdotool mousemove --window "$wid" 993 30 click 1
    e2e_wait_exit "$pid" 15 || { e2e_log "   still running"; ok=1; }
    expect "settings file lines" "$(settings_lines "$folder/data/progdata.xml")" 33 || ok=1
    expect "programs shown" "$(settings_shown "$folder/data/progdata.xml")" 29 || ok=1
    e2e_stop "$pid"
    return $ok
}

# Alt+F4 closes the window without saving: only the exit button writes the settings file.
test_system_close_ends_without_saving() {
    local folder pid wid ok=0
    folder=$(e2e_stage close)
    e2e_start_launcher "$folder"
    pid=$LAUNCHER_PID
    wid=$(e2e_wait_window 'Tessaly Collection') || { e2e_log "   no window"; return 1; }
    e2e_wait_pixel 400 30 "0,0,128" || ok=1
    : >"$folder/data/progdata.xml"
    # A click on the tile area gives the window the keyboard and starts nothing; the key goes to it.
    xdotool mousemove --window "$wid" 600 400 click 1
    xdotool key alt+F4
    e2e_wait_exit "$pid" 15 || { e2e_log "   still running"; ok=1; }
    expect "settings file size" "$(stat -c %s "$folder/data/progdata.xml")" 0 || ok=1
    e2e_stop "$pid"
    return $ok
}

# Releasing an installed program's tile starts it from its own folder.
test_tile_click_starts_the_program_in_its_folder() {
    local folder root pid wid ok=0
    folder=$(e2e_stage tile)
    root=$(dirname "$folder")
    e2e_install_program "$root" "Clock Tower/clock.exe" "$BUILD/win32_started_program.exe"
    e2e_start_launcher "$folder"
    pid=$LAUNCHER_PID
    wid=$(e2e_wait_window 'Tessaly Collection') || { e2e_log "   no window"; return 1; }
    e2e_wait_pixel 400 30 "0,0,128" || ok=1
    # Clock Tower is at display position 11 of the default order: row 2, column 1 of five, so its
    # picture is centred on (14 + 270, 72 + 300) in the maximised window.
    xdotool mousemove --window "$wid" 284 372 click 1
    local report="$root/Program Files/Tessaly/Clock Tower/started.txt" deadline=$((SECONDS + 15))
    while [ ! -s "$report" ] && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
    if [ -s "$report" ]; then
        local lines
        lines=$(iconv -f UTF-16LE -t UTF-8 "$report" | tr -d '\r')
        expect "working folder" "$(sed -n 1p <<<"$lines")" 'T:\Program Files\Tessaly\Clock Tower' || ok=1
        expect "command line" "$(sed -n 2p <<<"$lines")" '"T:\Program Files\Tessaly\Clock Tower\clock.exe"' || ok=1
    else
        e2e_log "   the program did not start"
        ok=1
    fi
    e2e_stop "$pid"
    return $ok
}

run_test test_window_host
run_test test_first_start_shows_maximised_window
run_test test_second_instance_leaves_the_first_alone
run_test test_exit_button_saves_and_ends
run_test test_system_close_ends_without_saving
run_test test_tile_click_starts_the_program_in_its_folder

if [ ${#failures[@]} -gt 0 ]; then
    e2e_log "failed: ${failures[*]}"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
