# End-to-end tests of the teacher options (Ctrl+Shift+K): unticking a program, resetting the launcher, and
# what the exit button, Alt+F4 and the end of the Windows session then save.
# shellcheck shell=bash

# The options dialog: client area 390 x 552 pixels; row i's check box at 184, 48 + 16 i (33 x 17), OK at
# 264, 40 and Reset at 264, 448 (113 pixels wide).
OPTIONS_TITLE='Tessaly Collection Launcher - Teacher Options'

# Opens the teacher options with Ctrl+Shift+K; sets OPTIONS_X, OPTIONS_Y, its client area's origin.
open_options() {
    # A click on the title bar gives the launcher the keyboard; in the maximised window it does nothing else.
    xdotool mousemove --window "$LAUNCHER_WID" 400 30 click 1
    xdotool key ctrl+shift+k
    local wid
    wid=$(e2e_wait_window "$OPTIONS_TITLE" 10) || fail "no options dialog" || return 1
    read -r OPTIONS_X OPTIONS_Y <<<"$(e2e_client_origin "$wid" 390 552)"
}
click_options() { xdotool mousemove $((OPTIONS_X + $1)) $((OPTIONS_Y + $2)) click 1; }

# The order line of the settings file from position 0 to position $1.
order_start() { tr -d '\r' <"$SETTINGS" | sed -n 3p | cut -d' ' -f2-$(($1 + 2)); }

# Unticking a program in the teacher options and pressing OK removes its tile; the exit button writes the
# settings file and ends the launcher.
test_options_untick_hides_the_tile_and_exit_saves_it() {
    launch_staged options || return 1
    screenshot options-before
    open_options || return 1
    screenshot options-dialog
    # Row 0 is position 0 of the default order, the web link Help Videos Online.
    click_options 200 56
    click_options 320 60
    e2e_wait_window_gone "$OPTIONS_TITLE" 10 || fail "the dialog stayed open"
    sleep 0.5
    screenshot options-after
    # Every tile moved up one place: the first cell now shows what the second showed.
    e2e_crop "$E2E_TMP/options-before.png" "$E2E_TMP/second-before.png" "$(cell_left 1)" "$(cell_top 1)" 180 120
    e2e_crop "$E2E_TMP/options-after.png" "$E2E_TMP/first-after.png" "$(cell_left 0)" "$(cell_top 0)" 180 120
    expect "pixels differing between the first cell and the former second" \
        "$(e2e_pixels_differing "$E2E_TMP/second-before.png" "$E2E_TMP/first-after.png")" 0
    : >"$SETTINGS" # emptied, so that only the exit's write fills it
    quit_by_exit_button
    expect_settings_of_29 28
    expect "Help Videos Online" "$(tr -d '\r' <"$SETTINGS" | grep -F "<program name='Help Videos Online' " |
        grep -o "show='.'")" "show='F'"
    expect "order" "$(order_start 1)" "p0='28' p1='5'"
}

# Reset in the teacher options: answered No it changes nothing; answered Yes it rebuilds the settings
# file from the defaults, and the default order is what the exit button then writes.
test_options_reset_restores_the_defaults() {
    launch_staged reset write_own_settings || return 1
    local original
    original=$(md5sum <"$SETTINGS")
    open_options || return 1
    click_options 320 463
    e2e_wait_window 'Reset The Launcher' 10 >/dev/null || fail "no question" || return 1
    screenshot reset-question
    xdotool key n
    e2e_wait_window_gone 'Reset The Launcher' 10 || fail "the question stayed"
    e2e_window_id "$OPTIONS_TITLE" >/dev/null || fail "No closed the dialog"
    expect "settings file after No" "$(md5sum <"$SETTINGS")" "$original"
    click_options 320 463
    e2e_wait_window 'Reset The Launcher' 10 >/dev/null || fail "no question" || return 1
    xdotool key Return
    e2e_wait_window_gone "$OPTIONS_TITLE" 10 || fail "Yes left the dialog open"
    expect "order after Yes" "$(order_start 0)" "p0='28'"
    : >"$SETTINGS"
    quit_by_exit_button
    expect_settings_of_29 29
    expect "order" "$(order_start 2)" "p0='28' p1='5' p2='11'"
}

# The darkest grey under the drag hint, where the note stands when changes made in the dialog cannot be
# saved, in screenshot $1 taken once the list's white ground is drawn.
note_darkest() {
    e2e_wait_pixel $((OPTIONS_X + 100)) $((OPTIONS_Y + 522)) "255,255,255" && screenshot "$1" &&
        e2e_darkest "$E2E_TMP/$1.png" $((OPTIONS_X + 264)) $((OPTIONS_Y + 184)) 121 96
}

# An applied change is saved however the launcher ends, as the exit button saves it: Alt+F4 and the end of
# the Windows session (Wine ends the process right after its messages); a killed launcher keeps the old file.
# A writable data folder shows no note in the dialog.
test_options_every_way_out_saves_but_a_kill() {
    local way wanted
    for way in alt+F4 end-session kill; do
        launch_staged "out-$way" && open_options || return 1
        expect "grey under the drag hint" "$(note_darkest "options-$way")" 192
        click_options 200 56 && click_options 320 60 # Help Videos Online unticked, then OK
        e2e_wait_window_gone "$OPTIONS_TITLE" 10 || fail "$way: the dialog stayed open"
        case $way in
        alt+F4) xdotool mousemove --window "$LAUNCHER_WID" 600 400 click 1 key alt+F4 ;;
        end-session) "$WINE64" wineboot --end-session ;;
        kill) kill -9 "$LAUNCHER_PID" ;;
        esac
        e2e_wait_exit "$LAUNCHER_PID" 15 || fail "$way: the launcher did not end"
        [ "$way" = kill ] && wanted="show='T'" || wanted="show='F'"
        expect "$way: Help Videos Online" "$(grep -F "name='Help Videos Online' " "$SETTINGS" | grep -o "show='.'")" "$wanted"
    done
}

# In a read-only data folder (where the first start could write no settings file) the dialog says that
# changes made in it will not be saved: dark text under the drag hint.
test_options_note_in_a_read_only_data_folder() {
    launch_staged note eval 'e2e_make_unchangeable "$FOLDER/data"' && open_options || return 1
    [ "$(note_darkest options-note)" -lt 100 ] || fail "no note in a read-only data folder"
}
