#!/usr/bin/env bash
# End-to-end tests of the Windows build under Wine on a virtual X display: first the window host's own
# tests (win32_window_tests.exe, which need a display), then launcher.exe as a user meets it, driven with
# xdotool and checked on screenshots and on its settings file. Each test stages its own copy of the
# launcher; the run has its own Wine prefix and X display, and leaves nothing behind.
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
        if [[ "$2$3" == *$'\n'* ]]; then
            e2e_log "   $1: differs from what was wanted (-) by (+):"
            diff <(printf '%s\n' "$3") <(printf '%s\n' "$2") | grep '^[<>]' | sed 's/^</   -/; s/^>/   +/' >&2
        else
            e2e_log "   $1: got '$2', wanted '$3'"
        fi
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

# ---- The demo suite, the teacher options, the window frame ----

# Milliseconds of the clock.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Screen positions in the maximised window (1024 x 768): the tile area starts at 14, 72 and its cells are
# 180 x 120 pixels, five to a row; a tile's picture is centred on its cell's middle.
cell_left() { echo $((14 + ($1 % 5) * 180)); }
cell_top() { echo $((72 + ($1 / 5) * 120)); }
tile_x() { echo $(($(cell_left "$1") + 90)); }
tile_y() { echo $(($(cell_top "$1") + 60)); }

# The exit button in the maximised layout: Left = 1024 - 37 - 12 = 975, Top 12, 37 x 37; the
# maximise/restore button 4 pixels left of it.
EXIT_X=993
EXIT_Y=30
RESTORE_X=952
RESTORE_Y=30

# The teacher options: client area 390 x 552 pixels; row i's check box at 184, 48 + 16 i (33 x 17), OK
# at 264, 40 and Reset at 264, 448 (113 pixels wide).
OPTIONS_TITLE='Tessaly Collection Launcher - Teacher Options'

# Starts the launcher of $1 and waits until its window is drawn; sets LAUNCHER_PID and LAUNCHER_WID.
start_and_wait() {
    e2e_start_launcher "$1"
    LAUNCHER_WID=$(e2e_wait_window 'Tessaly Collection') || { e2e_log "   no window"; return 1; }
    e2e_wait_pixel 400 30 "0,0,128" || { e2e_log "   the title bar was not drawn"; return 1; }
}

# Leaves through the exit button and waits for the process to end.
quit_by_exit_button() {
    xdotool mousemove --window "$LAUNCHER_WID" "$EXIT_X" "$EXIT_Y" click 1
    e2e_wait_exit "$LAUNCHER_PID" 15 || { e2e_log "   the launcher did not end"; return 1; }
}

# Opens the teacher options with Ctrl+Shift+K; sets OPTIONS_WID and OPTIONS_X, OPTIONS_Y (its client
# area's origin on the screen).
open_options() {
    # A click on the title bar gives the launcher the keyboard; in the maximised window it does nothing else.
    xdotool mousemove --window "$LAUNCHER_WID" 400 30 click 1
    xdotool key ctrl+shift+k
    OPTIONS_WID=$(e2e_wait_window "$OPTIONS_TITLE" 10) || { e2e_log "   no options dialog"; return 1; }
    read -r OPTIONS_X OPTIONS_Y <<<"$(e2e_client_origin "$OPTIONS_WID" 390 552)"
}

# Clicks the options dialog at ($1, $2) in its client area.
click_options() {
    xdotool mousemove $((OPTIONS_X + $1)) $((OPTIONS_Y + $2)) click 1
}

# The settings file $2's line for the program named $1, without its CR.
program_line() { tr -d '\r' <"$2" | grep -F "<program name='$1' "; }

# The order line of settings file $1 from position 0 to position $2.
order_start() { tr -d '\r' <"$1" | sed -n 3p | cut -d' ' -f2-$(($2 + 2)); }

# A demo program's tile starts it from its own folder; a second click within the busy second starts
# nothing, a third after it starts the program again.
test_demo_tile_starts_its_program_once_per_second() {
    local folder root ok=0
    folder=$(e2e_stage demo)
    root=$(dirname "$folder")
    stage_demo_suite "$folder" '\Tessaly Launcher' "$BUILD/demo_program.exe" "$BUILD/data/poss paths.xml"
    local report="$root/demo-report.txt"
    export TESSALY_DEMO_REPORT='T:\demo-report.txt'
    start_and_wait "$folder" || { unset TESSALY_DEMO_REPORT; return 1; }
    unset TESSALY_DEMO_REPORT
    import -display "$DISPLAY" -window root "$E2E_TMP/demo-suite.png"
    # Position 1 of the default order is Crossword Maker, a demo program, with its picture in colour;
    # position 5, Table Trainer, is not installed and its picture is greyed (nothing darker than 192).
    local shot="$E2E_TMP/demo-suite.png"
    [ "$(e2e_darkest "$shot" $(($(tile_x 1) - 32)) $(($(tile_y 1) - 32)) 64 64)" -lt 64 ] ||
        { e2e_log "   Crossword Maker's picture is greyed"; ok=1; }
    [ "$(e2e_darkest "$shot" $(($(tile_x 5) - 32)) $(($(tile_y 5) - 32)) 64 64)" -ge 192 ] ||
        { e2e_log "   Table Trainer's picture is not greyed"; ok=1; }
    local first
    first=$(now_ms)
    xdotool mousemove --window "$LAUNCHER_WID" "$(tile_x 1)" "$(tile_y 1)" click 1
    sleep 0.3
    # 10 pixels away, still on the picture: a click of its own, not the second half of a double click.
    xdotool mousemove --window "$LAUNCHER_WID" $(($(tile_x 1) + 10)) $(($(tile_y 1) + 10)) click 1
    local second
    second=$(now_ms)
    [ $((second - first)) -lt 900 ] || e2e_log "   warning: the second click came $((second - first)) ms after the first"
    expect "starts after two clicks" "$(e2e_wait_lines "$report" 1 15)" 1 || ok=1
    e2e_wait_window 'Crossword Maker' 10 >/dev/null || { e2e_log "   no demo window"; ok=1; }
    # The third click 1.5 s after the first, when the busy second is over.
    local rest=$((first + 1500 - $(now_ms)))
    [ "$rest" -gt 0 ] && sleep "$((rest / 1000)).$(printf '%03d' $((rest % 1000)))"
    xdotool mousemove --window "$LAUNCHER_WID" "$(tile_x 1)" "$(tile_y 1)" click 1
    expect "starts after the third click" "$(e2e_wait_lines "$report" 2 15)" 2 || ok=1
    sleep 1.5
    expect "starts in all" "$(tr -d '\r' <"$report" | wc -l)" 2 || ok=1
    local program='T:\Tessaly Launcher\demo\Crossword Maker\crossword.exe' module current command
    while IFS='|' read -r module current command; do
        expect "program" "$module" "$program" || ok=1
        expect "working folder" "$current" 'T:\Tessaly Launcher\demo\Crossword Maker' || ok=1
        expect "command line" "$command" "\"$program\"" || ok=1
    done < <(tr -d '\r' <"$report")
    e2e_stop "$LAUNCHER_PID"
    return $ok
}

# Unticking a program in the teacher options and pressing OK removes its tile; the exit button writes it.
test_options_untick_hides_the_tile_and_exit_saves_it() {
    local folder ok=0
    folder=$(e2e_stage options)
    start_and_wait "$folder" || return 1
    local before="$E2E_TMP/options-before.png" after="$E2E_TMP/options-after.png"
    import -display "$DISPLAY" -window root "$before"
    open_options || return 1
    import -display "$DISPLAY" -window root "$E2E_TMP/options-dialog.png"
    # Row 0 is position 0 of the default order, the web link Help Videos Online.
    click_options 200 56
    click_options 320 60
    e2e_wait_window_gone "$OPTIONS_TITLE" 10 || { e2e_log "   the dialog stayed open"; ok=1; }
    sleep 0.5
    import -display "$DISPLAY" -window root "$after"
    # Every tile moved up one place: the first cell now shows what the second showed.
    e2e_crop "$before" "$E2E_TMP/second-before.png" "$(cell_left 1)" "$(cell_top 1)" 180 120
    e2e_crop "$after" "$E2E_TMP/first-after.png" "$(cell_left 0)" "$(cell_top 0)" 180 120
    expect "pixels differing between the first cell and the former second" \
        "$(e2e_pixels_differing "$E2E_TMP/second-before.png" "$E2E_TMP/first-after.png")" 0 || ok=1
    local settings="$folder/data/progdata.xml"
    : >"$settings" # emptied, so that only the exit's write fills it
    quit_by_exit_button || ok=1
    expect "settings file lines" "$(settings_lines "$settings")" 33 || ok=1
    expect "programs shown" "$(settings_shown "$settings")" 28 || ok=1
    expect "Help Videos Online" "$(program_line 'Help Videos Online' "$settings" | grep -o "show='.'")" \
        "show='F'" || ok=1
    expect "order" "$(order_start "$settings" 1)" "p0='28' p1='5'" || ok=1
    e2e_stop "$LAUNCHER_PID"
    return $ok
}

# The settings file of several tests: three programs in an order of their own, one of them hidden.
write_own_settings() {
    printf '%s\n' "<programs>" "<options showall='True' />" "<order p0='2' p1='0' p2='1' />" \
        "<program name='Alpha' path='T:\\Apps\\alpha.exe' show='T' />" \
        "<program name='Beta' path='T:\\Apps\\beta.exe' show='F' />" \
        "<program name='Gamma' path='T:\\Apps\\gamma.exe' show='T' />" "</programs>" | e2e_write_crlf "$1"
}

# Reset in the teacher options: answered No it changes nothing; answered Yes it rebuilds the settings
# file from the defaults, and the default order is what the exit button then writes.
test_options_reset_restores_the_defaults() {
    local folder ok=0
    folder=$(e2e_stage reset)
    local settings="$folder/data/progdata.xml" original
    write_own_settings "$settings"
    original=$(md5sum <"$settings")
    start_and_wait "$folder" || return 1
    open_options || return 1
    click_options 320 463
    e2e_wait_window 'Reset The Launcher' 10 >/dev/null || { e2e_log "   no question"; return 1; }
    import -display "$DISPLAY" -window root "$E2E_TMP/reset-question.png"
    xdotool key n
    e2e_wait_window_gone 'Reset The Launcher' 10 || { e2e_log "   the question stayed"; ok=1; }
    xdotool search --onlyvisible --name "^$OPTIONS_TITLE\$" >/dev/null || { e2e_log "   No closed the dialog"; ok=1; }
    expect "settings file after No" "$(md5sum <"$settings")" "$original" || ok=1
    click_options 320 463
    e2e_wait_window 'Reset The Launcher' 10 >/dev/null || { e2e_log "   no question"; return 1; }
    xdotool key Return
    e2e_wait_window_gone "$OPTIONS_TITLE" 10 || { e2e_log "   Yes left the dialog open"; ok=1; }
    expect "order after Yes" "$(order_start "$settings" 0)" "p0='28'" || ok=1
    : >"$settings"
    quit_by_exit_button || ok=1
    expect "settings file lines" "$(settings_lines "$settings")" 33 || ok=1
    expect "programs shown" "$(settings_shown "$settings")" 29 || ok=1
    expect "order" "$(order_start "$settings" 2)" "p0='28' p1='5' p2='11'" || ok=1
    e2e_stop "$LAUNCHER_PID"
    return $ok
}

# Drags the mouse with the left button from the first point "X,Y" through the others to the last.
drag() {
    local points=("$@") args=() i
    args=(mousemove "${points[0]%,*}" "${points[0]#*,}" mousedown 1)
    for ((i = 1; i < ${#points[@]}; i++)); do
        args+=(sleep 0.05 mousemove "${points[i]%,*}" "${points[i]#*,}")
    done
    xdotool "${args[@]}" sleep 0.05 mouseup 1
}

# Restored, the window is resized by its right and bottom borders down to 360 x 290 pixels and dragged by
# its title bar, never off the screen.
test_window_moves_and_resizes_by_its_frame() {
    local folder ok=0
    folder=$(e2e_stage frame)
    start_and_wait "$folder" || return 1
    xdotool mousemove --window "$LAUNCHER_WID" "$RESTORE_X" "$RESTORE_Y" click 1
    sleep 0.5
    expect "restored" "$(e2e_geometry "$LAUNCHER_WID")" "0 0 1000 652" || ok=1
    # Each drag presses at its first point and releases at its last, moving by way of the others as a hand
    # does, with a pause at each: Wine sometimes drops every move of a burst of synthetic events and
    # delivers only the press and the release.
    # The right border strip covers the window's last 5 pixel columns, the bottom strip its last 6 rows.
    drag 997,300 990,300 800,300 400,300 100,300
    sleep 0.5
    expect "after the right border" "$(e2e_geometry "$LAUNCHER_WID")" "0 0 360 652" || ok=1
    drag 150,648 150,640 150,500 150,300 150,100
    sleep 0.5
    expect "after the bottom border" "$(e2e_geometry "$LAUNCHER_WID")" "0 0 360 290" || ok=1
    import -display "$DISPLAY" -window root "$E2E_TMP/smallest.png"
    drag 100,30 110,40 200,130 300,230
    sleep 0.5
    expect "after a title drag" "$(e2e_geometry "$LAUNCHER_WID")" "200 200 360 290" || ok=1
    # Far beyond the bottom right corner: it stops at 1024 - 360, 768 - 290.
    drag 300,230 310,240 700,500 1020,760
    sleep 0.5
    expect "dragged to the corner" "$(e2e_geometry "$LAUNCHER_WID")" "664 478 360 290" || ok=1
    e2e_stop "$LAUNCHER_PID"
    return $ok
}

# ---- Security and robustness ----

# A configured path with blanks, beside programs at its shorter prefixes (what "a b\c d.exe" would start if
# read unquoted up to its first or second blank), starts only the configured program.
test_spaced_path_starts_only_that_program() {
    local folder root ok=0
    folder=$(e2e_stage spaced)
    root=$(dirname "$folder")
    mkdir -p "$root/Apps/a b"
    local file
    for file in "Apps/a b/c d.exe" "Apps/a.exe" "Apps/a" "Apps/a b/c.exe" "Apps/a b/c"; do
        cp "$BUILD/demo_program.exe" "$root/$file"
    done
    printf '%s\n' "<programs>" "<options showall='False' />" "<order p0='0' />" \
        "<program name='Spaced Program' path='T:\\Apps\\a b\\c d.exe' show='T' />" "</programs>" |
        e2e_write_crlf "$folder/data/progdata.xml"
    local report="$root/demo-report.txt"
    export TESSALY_DEMO_REPORT='T:\demo-report.txt'
    start_and_wait "$folder" || { unset TESSALY_DEMO_REPORT; return 1; }
    unset TESSALY_DEMO_REPORT
    xdotool mousemove --window "$LAUNCHER_WID" "$(tile_x 0)" "$(tile_y 0)" click 1
    expect "programs started" "$(e2e_wait_lines "$report" 1 15)" 1 || ok=1
    sleep 1.5 # time for anything else to start
    expect "programs started in all" "$(tr -d '\r' <"$report" | wc -l)" 1 || ok=1
    expect "the program and its folder" "$(tr -d '\r' <"$report" | cut -d'|' -f1-2)" \
        'T:\Apps\a b\c d.exe|T:\Apps\a b' || ok=1
    e2e_stop "$LAUNCHER_PID"
    return $ok
}

# A program started from a tile holds no handle of the launcher's: not its single-instance mutex, not a
# file of its folder or its log. The probe lists every handle it holds at start, its own named mutex among
# them to show that the listing sees such handles.
test_started_program_inherits_no_handles() {
    local folder root ok=0
    folder=$(e2e_stage handles)
    root=$(dirname "$folder")
    e2e_install_program "$root" "Crossword Maker/crossword.exe" "$BUILD/win32_handle_probe.exe"
    start_and_wait "$folder" || return 1
    xdotool mousemove --window "$LAUNCHER_WID" "$(tile_x 1)" "$(tile_y 1)" click 1
    local report="$root/Program Files/Tessaly/Crossword Maker/handles.txt"
    wait_for_whole_report "$report" || { e2e_log "   the probe did not report"; e2e_stop "$LAUNCHER_PID"; return 1; }
    cp "$report" "$E2E_TMP/handles.txt"
    grep -q '^[0-9a-f]* Mutant .*TessalyHandleProbe-self' "$report" ||
        { e2e_log "   the probe did not see its own mutex"; ok=1; }
    if grep -i -E 'TessalyCollectionLauncher|Tessaly Launcher|launcher\.log' "$report" >&2; then
        e2e_log "   the launcher passed these handles on"
        ok=1
    fi
    e2e_stop "$LAUNCHER_PID"
    return $ok
}

# Waits up to 15 s for report $1 to be written whole (its last line ends with CR LF).
wait_for_whole_report() {
    local deadline=$((SECONDS + 15))
    while [ "$SECONDS" -lt "$deadline" ]; do
        [ -s "$1" ] && [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' ')" = 0d0a ] && return 0
        sleep 0.1
    done
    return 1
}

# Without a data folder the launcher shows the default catalogue, and the exit button ends it without
# creating anything.
test_survives_a_missing_data_folder() {
    local folder ok=0
    folder=$(e2e_stage nodata)
    rm -rf "$folder/data"
    start_and_wait "$folder" || return 1
    import -display "$DISPLAY" -window root "$E2E_TMP/no-data.png"
    quit_by_exit_button || ok=1
    expect "the launcher's folder" "$(ls -A "$folder" | tr '\n' ' ')" "launcher.exe " || ok=1
    e2e_stop "$LAUNCHER_PID"
    return $ok
}

# The names and checksums of the files in folder $1.
folder_checksums() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 md5sum); }

# In a data folder that cannot be written, with or without a settings file, the launcher runs and the
# exit button ends it; the folder keeps exactly what it held.
test_survives_a_read_only_data_folder() {
    local ok=0 case folder before
    for case in with-settings without-settings; do
        e2e_log "   $case"
        folder=$(e2e_stage "readonly-$case")
        [ "$case" = with-settings ] && write_own_settings "$folder/data/progdata.xml"
        before=$(folder_checksums "$folder/data")
        local unchangeable=("$folder/data")
        [ "$case" = with-settings ] && unchangeable+=("$folder/data/progdata.xml")
        if ! e2e_make_unchangeable "${unchangeable[@]}"; then
            e2e_log "   SKIPPED: this file system cannot make a folder read-only for root (chattr +i)"
            e2e_make_changeable
            return 0
        fi
        start_and_wait "$folder" || { e2e_make_changeable; return 1; }
        import -display "$DISPLAY" -window root "$E2E_TMP/read-only-$case.png"
        quit_by_exit_button || ok=1
        expect "data folder ($case)" "$(folder_checksums "$folder/data")" "$before" || ok=1
        e2e_make_changeable
        e2e_stop "$LAUNCHER_PID"
    done
    return $ok
}

# A settings file that another program holds open with no sharing: the launcher runs, and the exit button
# loses nothing of the file, whether the other program still holds it then or has let it go.
test_survives_a_locked_settings_file() {
    local ok=0 case folder before locker
    for case in held-to-the-end released-before-the-exit; do
        e2e_log "   $case"
        folder=$(e2e_stage "locked-$case")
        write_own_settings "$folder/data/progdata.xml"
        before=$(folder_checksums "$folder/data")
        "$WINE64" "$BUILD/win32_file_locker.exe" 'T:\Tessaly Launcher\data\progdata.xml' >"$E2E_TMP/locker.out" 2>&1 &
        locker=$!
        E2E_PIDS+=("$locker")
        local deadline=$((SECONDS + 15))
        while ! grep -q locked "$E2E_TMP/locker.out" && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
        grep -q locked "$E2E_TMP/locker.out" || {
            e2e_log "   the file was not locked: $(cat "$E2E_TMP/locker.out")"
            e2e_stop "$locker"
            return 1
        }
        start_and_wait "$folder" || { e2e_stop "$locker"; return 1; }
        import -display "$DISPLAY" -window root "$E2E_TMP/locked-$case.png"
        if [ "$case" = released-before-the-exit ]; then
            e2e_stop "$locker"
            sleep 0.5
        fi
        quit_by_exit_button || ok=1
        expect "data folder ($case)" "$(folder_checksums "$folder/data")" "$before" || ok=1
        e2e_stop "$locker"
        e2e_stop "$LAUNCHER_PID"
    done
    return $ok
}

# Every test, in the order they run; naming some on the command line runs only those.
all_tests=(
    test_window_host
    test_first_start_shows_maximised_window
    test_second_instance_leaves_the_first_alone
    test_exit_button_saves_and_ends
    test_system_close_ends_without_saving
    test_tile_click_starts_the_program_in_its_folder
    test_demo_tile_starts_its_program_once_per_second
    test_options_untick_hides_the_tile_and_exit_saves_it
    test_options_reset_restores_the_defaults
    test_window_moves_and_resizes_by_its_frame
    test_spaced_path_starts_only_that_program
    test_started_program_inherits_no_handles
    test_survives_a_missing_data_folder
    test_survives_a_read_only_data_folder
    test_survives_a_locked_settings_file
)
selected=("${@:2}")
[ ${#selected[@]} -gt 0 ] || selected=("${all_tests[@]}")
for test in "${selected[@]}"; do
    run_test "$test"
done

if [ ${#failures[@]} -gt 0 ]; then
    e2e_log "failed: ${failures[*]}"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
