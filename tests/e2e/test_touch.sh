# End-to-end tests of a finger on the launcher: Wine passes mouse input that SendInput marks with the
# touch signature on to the window with that mark, as Windows does with a real finger
# (tests/win32/TouchPlayer.cpp plays it).
# shellcheck shell=bash

finger() { "$WINE64" "$BUILD/win32_touch_player.exe" "$@" 2>/dev/null; }
# After half a second, the four rows of the tile area (the scroll bar left out) as image $1.
grid_shot() { sleep 0.5 && screenshot "touch-$1" && e2e_crop "$E2E_TMP/touch-$1.png" "$E2E_TMP/$1.png" 14 72 900 480; }
same_grid() { [ "$(e2e_pixels_differing "$E2E_TMP/$1.png" "$E2E_TMP/$2.png")" = 0 ]; }

# A swipe up from Crossword Maker's tile scrolls the grid as two notches of the wheel do and starts
# nothing; a mouse drag over a tile scrolls nothing, as ever; a tap starts the program.
test_finger_swipe_pans_the_grid_and_a_tap_starts() {
    TESSALY_DEMO_REPORT='T:\demo-report.txt' launch_staged touch stage_demo || return 1
    local report="$ROOT/demo-report.txt"
    xdotool mousemove 500 750
    grid_shot top
    finger "$(tile_x 1)" "$(tile_y 1)" 0 -250 || fail "the swipe was refused"
    grid_shot swiped
    same_grid top swiped && fail "the swipe did not scroll the grid"
    xdotool mousemove 500 750 click 4 click 4
    grid_shot wheel
    same_grid top wheel || fail "two notches back up do not show the first rows again"
    xdotool mousemove "$(tile_x 6)" "$(tile_y 6)" mousedown 1 mousemove "$(tile_x 6)" $(($(tile_y 6) - 250)) mouseup 1
    grid_shot mouse
    same_grid top mouse || fail "a mouse drag moved the grid"
    expect "programs started by the swipes" "$(e2e_lines "$report")" 0
    finger "$(tile_x 1)" "$(tile_y 1)" 0 0 || fail "the tap was refused"
    expect "programs started by the tap" "$(e2e_wait_lines "$report" 1 15)" 1
}
