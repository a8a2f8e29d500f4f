# End-to-end test of the window frame: restoring, resizing by the border strips, dragging by the title bar.
# shellcheck shell=bash

# Drags the mouse with the left button from the first point "X,Y" through the others to the last, with a
# pause at each as a hand makes: Wine sometimes drops every move of a burst of synthetic events and
# delivers only the press and the release.
drag() {
    local points=("$@") args=() i
    args=(mousemove "${points[0]%,*}" "${points[0]#*,}" mousedown 1)
    for ((i = 1; i < ${#points[@]}; i++)); do
        args+=(sleep 0.05 mousemove "${points[i]%,*}" "${points[i]#*,}")
    done
    xdotool "${args[@]}" sleep 0.05 mouseup 1
    sleep 0.5
}

# Restored, the window is resized by its right and bottom borders down to 360 x 290 pixels and dragged by
# its title bar, never off the screen.
test_window_moves_and_resizes_by_its_frame() {
    launch_staged frame || return 1
    xdotool mousemove --window "$LAUNCHER_WID" 952 30 click 1 # the restore button
    sleep 0.5
    expect "restored" "$(e2e_geometry "$LAUNCHER_WID")" "0 0 1000 652"
    # The right border strip covers the window's last 5 pixel columns, the bottom strip its last 6 rows.
    drag 997,300 990,300 800,300 400,300 100,300
    expect "after the right border" "$(e2e_geometry "$LAUNCHER_WID")" "0 0 360 652"
    drag 150,648 150,640 150,500 150,300 150,100
    expect "after the bottom border" "$(e2e_geometry "$LAUNCHER_WID")" "0 0 360 290"
    screenshot smallest
    drag 100,30 110,40 200,130 300,230
    expect "after a title drag" "$(e2e_geometry "$LAUNCHER_WID")" "200 200 360 290"
    # Far beyond the bottom right corner: it stops at 1024 - 360, 768 - 290.
    drag 300,230 310,240 700,500 1020,760
    expect "dragged to the corner" "$(e2e_geometry "$LAUNCHER_WID")" "664 478 360 290"
}

# The system menu (Alt+Space, then R for Restore) restores the maximised window with the layout the restore
# button gives it: the same picture as after the maximise and restore buttons.
test_system_menu_restores_as_the_restore_button_does() {
    launch_staged sysmenu || return 1
    xdotool windowfocus "$LAUNCHER_WID" key alt+space sleep 0.5 key r
    sleep 0.7
    expect "restored" "$(e2e_geometry "$LAUNCHER_WID")" "0 0 1000 652"
    xdotool mousemove 500 720 sleep 0.5 && screenshot sysmenu-restored
    xdotool mousemove 928 30 click 1 sleep 0.7 mousemove 952 30 click 1 sleep 0.5 mousemove 500 720 sleep 0.7
    screenshot sysmenu-buttons
    e2e_crop "$E2E_TMP/sysmenu-restored.png" "$E2E_TMP/by-menu.png" 0 0 1000 652
    e2e_crop "$E2E_TMP/sysmenu-buttons.png" "$E2E_TMP/by-buttons.png" 0 0 1000 652
    expect "the menu's layout" "$(e2e_pixels_differing "$E2E_TMP/by-menu.png" "$E2E_TMP/by-buttons.png")" 0
}
