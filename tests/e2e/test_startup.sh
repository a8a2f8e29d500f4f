# End-to-end tests of starting and ending: the window host on real windows, a first start, a second
# instance.
# shellcheck shell=bash

test_window_host() {
    "$WINE64" "$BUILD/win32_window_tests.exe" >"$E2E_TMP/window-tests.log" 2>&1 || {
        grep -E 'FAILED|Failure|Expected|Which is|actual' "$E2E_TMP/window-tests.log" >&2 || true
        return 1
    }
    grep -q 'PASSED' "$E2E_TMP/window-tests.log"
}

# A first start without a settings file writes the default catalogue and shows the maximised window.
test_first_start_shows_maximised_window() {
    launch_staged first || return 1
    expect "window geometry" "$(xdotool getwindowgeometry "$LAUNCHER_WID" | tr -d ' ' | tr '\n' ' ')" \
        "Window$LAUNCHER_WID Position:0,0(screen:0) Geometry:1024x768 "
    screenshot first-start
    # Inside the tile area (14..1010 x 72..687), between two tile rows and two columns.
    expect "tile area between tiles" "$(e2e_pixel 192 205)" "255,255,255"
    expect "tile area right of the last column" "$(e2e_pixel 950 400)" "255,255,255"
    expect_settings_of_29 29
}

# A second start while the launcher runs ends at once, shows nothing and leaves the first untouched.
test_second_instance_leaves_the_first_alone() {
    launch_staged second || return 1
    local before start=$SECONDS code=0
    before=$(md5sum <"$SETTINGS")-$(stat -c %Y.%y "$SETTINGS")
    timeout 30 "$WINE64" "T:\\Tessaly Launcher\\launcher.exe" >/dev/null 2>&1 || code=$?
    expect "second instance exit code" "$code" 0
    [ $((SECONDS - start)) -le 10 ] || fail "the second instance took $((SECONDS - start)) s"
    kill -0 "$LAUNCHER_PID" 2>/dev/null || fail "the first instance ended"
    expect "launcher windows" "$(xdotool search --name '^Tessaly Collection$' | wc -l)" 1
    expect "settings file" "$(md5sum <"$SETTINGS")-$(stat -c %Y.%y "$SETTINGS")" "$before"
}
