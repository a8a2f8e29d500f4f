# End-to-end tests of the launcher without a mouse: what a screen reader reads and starts, the keyboard
# alone, the wheel over the grid, and an options list of 40 programs.
# shellcheck shell=bash

# The screen reader's view of the launcher: "role|name|description|default action|states" a child.
access_tree() { "$WINE64" "$BUILD/win32_access_client.exe" "$@" 2>/dev/null | tr -d '\r'; }
tree_line() { grep "^43|$2|" <<<"$1" | cut -d'|' -f"$3"; }

test_screen_reader_reads_the_tiles_and_starts_a_demo() {
    TESSALY_DEMO_REPORT='T:\demo-report.txt' launch_staged access stage_demo || return 1
    local tree name
    tree=$(access_tree) || fail "no accessible object" || return 1
    # The staged catalogue: the built-in suite, the four demo programs installed and the rest greyed but
    # for the web link; the caption buttons by their tips.
    for name in "Crossword Maker" "Map Skills" "Island Explorer" "Rainforest Rescue" "Help Videos Online"; do
        expect "$name" "$(tree_line "$tree" "$name" 4-5)" "Start| focusable"
    done
    expect "description" "$(tree_line "$tree" "Crossword Maker" 3 | cut -c1-39)" "Make crosswords from your spelling list"
    expect "Table Trainer" "$(tree_line "$tree" "Table Trainer" 4-5)" "Start| unavailable focusable"
    expect "greyed tiles" "$(grep -c '|Start| unavailable' <<<"$tree")" 24
    expect "caption buttons" "$(grep -E '^43\|(Minimise|Restore down|Exit)\|' <<<"$tree" | cut -d'|' -f2 | paste -sd,)" \
        "Minimise,Restore down,Exit"
    access_tree "Crossword Maker" >/dev/null
    expect "started by the default action" "$(e2e_wait_lines "$ROOT/demo-report.txt" 1 15)" 1
}

# Tab puts the focus and its ring on the first tile, Right moves it to Crossword Maker, Enter starts it;
# the reader hears the focused tile.
test_keyboard_alone_starts_a_demo() {
    TESSALY_DEMO_REPORT='T:\demo-report.txt' launch_staged keys stage_demo || return 1
    xdotool windowfocus "$LAUNCHER_WID"
    screenshot keys-before
    "$WINE64" "$BUILD/win32_access_client.exe" --focus 6 >"$E2E_TMP/focus.txt" 2>/dev/null &
    E2E_PIDS+=("$!")
    e2e_until 5 grep -q listening "$E2E_TMP/focus.txt" || fail "the reader does not listen"
    xdotool key Tab
    sleep 0.3
    xdotool key Right
    sleep 0.5
    screenshot keys-ring
    # A reader hears each move of the focus, with the tile's name and state.
    e2e_until 8 grep -q 'Crossword' "$E2E_TMP/focus.txt"
    # (Each event is looked up when it arrives, so the states are those of that moment.)
    expect "heard" "$(tr -d '\r' <"$E2E_TMP/focus.txt" | grep '^focus|' | cut -d'|' -f2 | sort | paste -sd,)" \
        "Crossword Maker,Help Videos Online"
    grep -q '^focus|Crossword Maker| focusable focused' "$E2E_TMP/focus.txt" || fail "the focused tile's state"
    grep -q '^name|Make crosswords' "$E2E_TMP/focus.txt" || fail "no name change of the description"
    # The ring's top edge runs 2 pixels above tile 1's 64-pixel picture, dotted over the white tile area.
    local y=$(($(tile_y 1) - 34)) x=$(($(tile_x 1) - 32))
    expect "no ring before a key" "$(e2e_darkest "$E2E_TMP/keys-before.png" "$x" "$y" 64 1)" 255
    expect "ring" "$(e2e_darkest "$E2E_TMP/keys-ring.png" "$x" "$y" 64 1)" 0
    expect "focused" "$(access_tree | grep ' focused$' | cut -d'|' -f2)" "Crossword Maker"
    xdotool key Return
    expect "started by Enter" "$(e2e_wait_lines "$ROOT/demo-report.txt" 1 15)" 1
}

# A wheel notch towards the user scrolls the grid one row down (the first cell shows what the sixth
# showed), a notch away scrolls it back. The cells are compared below their top rows, where the names of
# the row above reach.
test_wheel_scrolls_the_grid_a_row_a_notch() {
    launch_staged wheel || return 1
    screenshot wheel-top
    xdotool mousemove --window "$LAUNCHER_WID" 400 300 click 5
    sleep 0.5
    screenshot wheel-down
    xdotool click 4
    sleep 0.5
    screenshot wheel-back
    e2e_crop "$E2E_TMP/wheel-top.png" "$E2E_TMP/cell5.png" "$(cell_left 5)" $(($(cell_top 5) + 4)) 180 116
    e2e_crop "$E2E_TMP/wheel-top.png" "$E2E_TMP/cell0.png" "$(cell_left 0)" $(($(cell_top 0) + 4)) 180 116
    e2e_crop "$E2E_TMP/wheel-down.png" "$E2E_TMP/down0.png" "$(cell_left 0)" $(($(cell_top 0) + 4)) 180 116
    e2e_crop "$E2E_TMP/wheel-back.png" "$E2E_TMP/back0.png" "$(cell_left 0)" $(($(cell_top 0) + 4)) 180 116
    expect "scrolled a row" "$(e2e_pixels_differing "$E2E_TMP/cell5.png" "$E2E_TMP/down0.png")" 0
    expect "scrolled back" "$(e2e_pixels_differing "$E2E_TMP/cell0.png" "$E2E_TMP/back0.png")" 0
}

# A reader's child ids name programs, not places: after a one-row scroll an id it kept names the same
# program or nothing; navigation stops at both ends of the ids, also from the largest id a reader can send.
test_reader_ids_name_programs_not_places() {
    launch_staged ids || return 1
    local before after id name now
    before=$(access_tree --ids)
    xdotool mousemove --window "$LAUNCHER_WID" 400 300 click 5
    sleep 0.5
    after=$(access_tree --ids)
    [ "$before" != "$after" ] || fail "the wheel did not scroll" || return 1
    while IFS='|' read -r id name; do
        now=$(grep "^$id|" <<<"$after" | cut -d'|' -f2)
        [ -z "$now" ] || [ "$now" = "$name" ] || fail "id $id named $name, then $now"
    done <<<"$before"
    expect "ends" "$(access_tree --ends | head -1 | cut -d' ' -f5-)" \
        "next-of-last - previous-of-first - next-of-max - previous-of-max - previous-of-unknown - hit-outside none"
}

# Forty programs: the list shows a scroll bar, Tab from the first row reaches the 40th, Alt+Up moves it one
# place, Enter is OK, and the exit button saves the new order.
write_forty_settings() {
    local i order="" programs=""
    for i in $(seq 0 39); do
        order+=" p$i='$i'"
        programs+="<program name='Program $i' path='T:\\Apps\\p$i.exe' show='T' />"$'\n'
    done
    printf '%s\n' "<programs>" "<options showall='True' />" "<order$order />" "$programs</programs>" |
        grep -v '^$' | e2e_write_crlf "$SETTINGS"
}
test_options_list_of_forty_by_keyboard() {
    launch_staged forty write_forty_settings || return 1
    open_options || return 1
    xdotool windowfocus "$(e2e_wait_window "$OPTIONS_TITLE" 5)"
    xdotool key --delay 30 $(printf 'Tab %.0s' $(seq 39)) alt+Up
    sleep 0.5
    screenshot forty-options
    # The scroll bar's arrow at the top right of the list (the list is white there without it).
    [ "$(e2e_darkest "$E2E_TMP/forty-options.png" $((OPTIONS_X + 232)) $((OPTIONS_Y + 40)) 17 17)" -lt 128 ] ||
        fail "no scroll bar beside the list"
    xdotool key Return
    e2e_wait_window_gone "$OPTIONS_TITLE" 10 || fail "Enter did not close the dialog"
    quit_by_exit_button
    expect "order" "$(tr -d '\r' <"$SETTINGS" | sed -n 3p | grep -o "p3[89]='[0-9]*'" | paste -sd' ')" "p38='39' p39='38'"
}

# The options rows as a reader meets them: tick boxes named by their programs ("&" read as itself), with
# their places and ticks; the list named by its heading; the first row focused at the opening, and the
# new place heard after Alt+Down. The locate dialog's title shows the "&" too.
write_ampersand_settings() {
    printf '%s\n' "<programs>" "<options showall='True' />" "<order p0='0' p1='1' p2='2' />" \
        "<program name='Maths & Me' path='T:\\Apps\\maths.exe' show='T' />" \
        "<program name='Beta' path='T:\\Apps\\beta.exe' show='F' />" \
        "<program name='Gamma' path='T:\\Apps\\gamma.exe' show='T' />" "</programs>" | e2e_write_crlf "$SETTINGS"
}
test_options_rows_read_as_named_tick_boxes() {
    launch_staged readers write_ampersand_settings || return 1
    open_options || return 1
    xdotool windowfocus "$(e2e_wait_window "$OPTIONS_TITLE" 5)"
    local tree
    tree=$(access_tree --window "$OPTIONS_TITLE") || fail "no accessible object" || return 1
    expect "list" "$(grep '^33|' <<<"$tree")" "33|Program Order|Drag program names around to change order||"
    expect "rows" "$(grep '^44|' <<<"$tree")" "44|Maths & Me|1 of 3|Uncheck| focusable focused checked
44|Beta|2 of 3|Check| focusable
44|Gamma|3 of 3|Uncheck| focusable checked"
    "$WINE64" "$BUILD/win32_access_client.exe" --focus 6 >"$E2E_TMP/options-focus.txt" 2>/dev/null &
    E2E_PIDS+=("$!")
    e2e_until 5 grep -q listening "$E2E_TMP/options-focus.txt" || fail "the reader does not listen"
    xdotool key alt+Down
    e2e_until 8 grep -q '^focus|Maths & Me' "$E2E_TMP/options-focus.txt" || fail "no focus event"
    expect "heard" "$(tr -d '\r' <"$E2E_TMP/options-focus.txt" | grep '^focus|')" \
        "focus|Maths & Me| focusable focused checked|2 of 3"
    xdotool key ctrl+l
    e2e_wait_window 'Find the exe for Maths & Me' 10 >/dev/null || fail "the locate dialog's title"
    xdotool key Escape
}
