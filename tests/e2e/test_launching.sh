# End-to-end tests of starting programs from their tiles: in their own folders, once per busy second,
# exactly the program configured, and without the launcher's handles.
# shellcheck shell=bash

# Releasing an installed program's tile starts it from its own folder.
test_tile_click_starts_the_program_in_its_folder() {
    launch_staged tile install_program "Clock Tower/clock.exe" "$BUILD/win32_started_program.exe" || return 1
    # Clock Tower is at display position 11 of the default order: row 2, column 1 of five.
    click_tile 11
    local report="$ROOT/Program Files/Tessaly/Clock Tower/started.txt" lines
    e2e_until 15 test -s "$report" || fail "the program did not start" || return 1
    lines=$(iconv -f UTF-16LE -t UTF-8 "$report" | tr -d '\r')
    expect "working folder" "$(sed -n 1p <<<"$lines")" 'T:\Program Files\Tessaly\Clock Tower'
    expect "command line" "$(sed -n 2p <<<"$lines")" '"T:\Program Files\Tessaly\Clock Tower\clock.exe"'
}

stage_demo() { stage_demo_suite "$FOLDER" '\Tessaly Launcher' "$BUILD/demo_program.exe" "$BUILD/data/poss paths.xml"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# A demo program's tile starts it from its own folder; a second click within the busy second starts
# nothing, a third after it starts the program again.
test_demo_tile_starts_its_program_once_per_second() {
    TESSALY_DEMO_REPORT='T:\demo-report.txt' launch_staged demo stage_demo || return 1
    local report="$ROOT/demo-report.txt" shot="$E2E_TMP/demo-suite.png"
    screenshot demo-suite
    # Position 1 of the default order is Crossword Maker, a demo program, with its picture in colour;
    # position 5, Table Trainer, is not installed and its picture is greyed (nothing darker than 192).
    [ "$(e2e_darkest "$shot" $(($(tile_x 1) - 32)) $(($(tile_y 1) - 32)) 64 64)" -lt 64 ] ||
        fail "Crossword Maker's picture is greyed"
    [ "$(e2e_darkest "$shot" $(($(tile_x 5) - 32)) $(($(tile_y 5) - 32)) 64 64)" -ge 192 ] ||
        fail "Table Trainer's picture is not greyed"
    local first second
    first=$(now_ms)
    click_tile 1
    sleep 0.3
    # 10 pixels away, still on the picture: a click of its own, not the second half of a double click.
    click_tile 1 10
    second=$(now_ms)
    [ $((second - first)) -lt 900 ] || e2e_log "   warning: the second click came $((second - first)) ms after the first"
    expect "starts after two clicks" "$(e2e_wait_lines "$report" 1 15)" 1
    e2e_wait_window 'Crossword Maker' 10 >/dev/null || fail "no demo window"
    # The third click 1.5 s after the first, when the busy second is over.
    local rest=$((first + 1500 - $(now_ms)))
    [ "$rest" -gt 0 ] && sleep "$((rest / 1000)).$(printf '%03d' $((rest % 1000)))"
    click_tile 1
    expect "starts after the third click" "$(e2e_wait_lines "$report" 2 15)" 2
    sleep 1.5
    expect "starts in all" "$(e2e_lines "$report")" 2
    local program='T:\Tessaly Launcher\demo\Crossword Maker\crossword.exe' module current command
    while IFS='|' read -r module current command; do
        expect "program" "$module" "$program"
        expect "working folder" "$current" 'T:\Tessaly Launcher\demo\Crossword Maker'
        expect "command line" "$command" "\"$program\""
    done < <(tr -d '\r' <"$report")
}

# A configured path with blanks, beside programs at its shorter prefixes (what "a b\c d.exe" would start if
# read unquoted up to its first or second blank), starts only the configured program.
stage_spaced_programs() {
    mkdir -p "$ROOT/Apps/a b"
    local file
    for file in "Apps/a b/c d.exe" "Apps/a.exe" "Apps/a" "Apps/a b/c.exe" "Apps/a b/c"; do
        cp "$BUILD/demo_program.exe" "$ROOT/$file"
    done
    printf '%s\n' "<programs>" "<options showall='False' />" "<order p0='0' />" \
        "<program name='Spaced Program' path='T:\\Apps\\a b\\c d.exe' show='T' />" "</programs>" |
        e2e_write_crlf "$SETTINGS"
}
test_spaced_path_starts_only_that_program() {
    TESSALY_DEMO_REPORT='T:\demo-report.txt' launch_staged spaced stage_spaced_programs || return 1
    local report="$ROOT/demo-report.txt"
    click_tile 0
    expect "programs started" "$(e2e_wait_lines "$report" 1 15)" 1
    sleep 1.5 # time for anything else to start
    expect "programs started in all" "$(e2e_lines "$report")" 1
    expect "the program and its folder" "$(tr -d '\r' <"$report" | cut -d'|' -f1-2)" 'T:\Apps\a b\c d.exe|T:\Apps\a b'
}

# A program installed while the launcher runs turns from grey to colour once the launcher's window is
# activated again: Table Trainer (display position 5) is installed while another window is in front.
test_program_installed_meanwhile_shows_in_colour_after_activation() {
    launch_staged meanwhile || return 1
    local shot="$E2E_TMP/meanwhile.png"
    darkest_of_tile_5() {
        screenshot meanwhile
        e2e_darkest "$shot" $(($(tile_x 5) - 32)) $(($(tile_y 5) - 32)) 64 64
    }
    [ "$(darkest_of_tile_5)" -ge 192 ] || fail "Table Trainer's picture is not greyed at first" || return 1
    cp "$BUILD/bare_window.exe" "$ROOT/bare_window.exe"
    "$WINE64" "T:\\bare_window.exe" >/dev/null 2>&1 &
    E2E_PIDS+=("$!")
    local other
    other=$(e2e_wait_window 'Bare Window' 20) || fail "no other window" || return 1
    xdotool windowfocus --sync "$other"
    install_program "Table Trainer/tables.exe" "$BUILD/bare_window.exe"
    # Back to the launcher: brought to the front, a click on the tile area right of the last column
    # activates it and starts nothing.
    xdotool windowraise "$LAUNCHER_WID"
    xdotool mousemove --window "$LAUNCHER_WID" 950 400 click 1
    colour_now() { [ "$(darkest_of_tile_5)" -lt 64 ]; }
    e2e_until 10 colour_now || fail "Table Trainer's picture stayed greyed"
}
