# End-to-end tests of the launcher in the system's colours. What Wine 8 honours, measured here: the colour
# values of "HKCU\Control Panel\Colors" (read when the prefix's server starts), which GetSysColor then
# gives; not high contrast itself: SPI_SETHIGHCONTRAST fails (error 1439) and SPI_GETHIGHCONTRAST always
# says off, whatever "HKCU\Control Panel\Accessibility\HighContrast" holds. So the launcher's drawing in
# high contrast is tested on the host (the colour mapping) and in win32_tests (the painter in given
# colours); here, a dark scheme with white button text still leaves the options buttons readable.
# shellcheck shell=bash

# Sets the prefix's button colours to text $1 on face $2 ("R G B"; none: the defaults) and restarts its
# server to take them.
button_colours() {
    local key='HKCU\Control Panel\Colors'
    "$WINE64" reg delete "$key" /v ButtonText /f >/dev/null 2>&1; "$WINE64" reg delete "$key" /v ButtonFace /f >/dev/null 2>&1
    [ $# -eq 0 ] || { "$WINE64" reg add "$key" /v ButtonText /d "$1" /f && "$WINE64" reg add "$key" /v ButtonFace /d "$2" /f; } >/dev/null 2>&1
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    "$WINESERVER" -p
}

# With white button text on black faces in the system's scheme, the options dialog's buttons keep their
# black text on their grey face: the text under OK is black, the face around it grey.
test_options_buttons_read_in_a_dark_scheme() {
    button_colours '255 255 255' '0 0 0'
    launch_staged contrast && open_options && {
        sleep 0.5
        screenshot contrast-options
        expect "OK's text" "$(e2e_darkest "$E2E_TMP/contrast-options.png" $((OPTIONS_X + 300)) $((OPTIONS_Y + 50)) 40 20)" 0
        expect "OK's face" "$(e2e_pixel $((OPTIONS_X + 275)) $((OPTIONS_Y + 60)))" "192,192,192"
    }
    button_colours
}
