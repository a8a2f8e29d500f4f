# Shared by the end-to-end tests (run.sh and its test_*.sh files) and the start-up benchmark
# (bench/startup.sh): a virtual X display, a Wine prefix of their own, a staging folder with the launcher
# and its data, and looking at the screen.
# shellcheck shell=bash

# The staging of the demo suite is shared with scripts/run.
# shellcheck source=scripts/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

# ImageMagick's own convert, not whatever else may be called convert earlier on the PATH.
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=convert

E2E_TMP=""        # everything the run makes on disk lives under this folder
E2E_XVFB_PID=""
E2E_PIDS=()       # programs started by the tests, ended by pid at cleanup
E2E_IMMUTABLE=()  # files and folders made unchangeable by a test, changeable again at cleanup

e2e_log() { printf '%s\n' "$*" >&2; }

# Makes the run's temporary folder and arranges that everything is cleaned up when the script ends.
e2e_init() {
    E2E_TMP=$(mktemp -d /tmp/tessaly-e2e.XXXXXX)
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    [ ${#E2E_PIDS[@]} -eq 0 ] || kill "${E2E_PIDS[@]}" 2>/dev/null || true
    # Only the run's own prefix: a prefix inherited from the caller is left alone.
    if [ -n "$E2E_TMP" ] && [ "${WINEPREFIX:-}" = "$E2E_TMP/prefix" ]; then
        "$WINESERVER" -k 2>/dev/null || true
    fi
    e2e_make_changeable
    # The screenshots and reports, to look at, when E2E_SHOTS names a folder.
    if [ -n "${E2E_SHOTS:-}" ] && [ -n "$E2E_TMP" ]; then
        cp "$E2E_TMP"/*.png "$E2E_TMP"/*.txt "$E2E_SHOTS"/ 2>/dev/null || true
    fi
    [ -z "$E2E_XVFB_PID" ] || e2e_stop "$E2E_XVFB_PID"
    [ -n "$E2E_TMP" ] && rm -rf "$E2E_TMP"
}

# Starts Xvfb on the first free display of E2E_DISPLAYS (display numbers; :90 to :99 unless set), of $1
# pixels (1024x768 unless given) at 24 bits, and waits until it answers.
e2e_start_display() {
    local n
    for n in ${E2E_DISPLAYS:-90 91 92 93 94 95 96 97 98 99}; do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "${1:-1024x768}x24" -nolisten tcp >>"$E2E_TMP/xvfb.log" 2>&1 &
        E2E_XVFB_PID=$!
        if e2e_until 5 xdpyinfo -display ":$n" >/dev/null 2>&1; then
            export DISPLAY=":$n"
            return 0
        fi
        e2e_stop "$E2E_XVFB_PID"
        E2E_XVFB_PID=""
    done
    e2e_log "no free X display among: ${E2E_DISPLAYS:-90 to 99}"
    return 1
}

# A fresh staging folder named $1 under the run's folder: "<root>/Tessaly Launcher/" with launcher.exe
# and the data folder, without a settings file. The root is also Wine's drive T:, so that the launcher's
# drive holds the default program folders ("T:\Program Files\Tessaly\..."). Prints the launcher's folder.
e2e_stage() {
    local root="$E2E_TMP/$1"
    local folder="$root/Tessaly Launcher"
    mkdir -p "$folder"
    cp "$BUILD/launcher.exe" "$folder/"
    cp -r "$BUILD/data" "$folder/data"
    rm -f "$folder/data/progdata.xml"
    ln -sfn "$root" "$WINEPREFIX/dosdevices/t:"
    printf '%s\n' "$folder"
}

# Installs a stand-in for a program of the default catalogue: $1 the staging root, $2 the path below
# "Program Files\Tessaly" with forward slashes, $3 the executable to copy there.
e2e_install_program() {
    local target="$1/Program Files/Tessaly/$2"
    mkdir -p "$(dirname "$target")"
    cp "$3" "$target"
}

# Starts the launcher of staging folder $1 from drive T: in the background; its pid is in LAUNCHER_PID.
e2e_start_launcher() {
    local name
    name=$(basename "$1")
    "$WINE64" "T:\\$name\\launcher.exe" >>"$E2E_TMP/launcher.log" 2>&1 &
    LAUNCHER_PID=$!
    E2E_PIDS+=("$LAUNCHER_PID")
}

# Runs command $2... every 0.1 s until it succeeds; fails when $1 seconds pass first.
e2e_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# The id of a visible window whose name is exactly $1; fails when there is none.
e2e_window_id() {
    local ids
    ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) || return 1
    printf '%s\n' "${ids%%$'\n'*}"
}
e2e_no_window() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Waits up to $2 seconds (default 20) for a visible window whose name is exactly $1; prints its id.
e2e_wait_window() { e2e_until "${2:-20}" e2e_window_id "$1"; }
# Waits up to $2 seconds (default 10) until no visible window is named exactly $1.
e2e_wait_window_gone() { e2e_until "${2:-10}" e2e_no_window "$1"; }

# The colour of the screen at ($1, $2) as "r,g,b".
e2e_pixel() {
    local shot="$E2E_TMP/pixel.png"
    import -display "$DISPLAY" -window root "$shot"
    "$CONVERT" "$shot" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:
}
e2e_pixel_is() { [ "$(e2e_pixel "$1" "$2")" = "$3" ]; }

# Waits up to $4 seconds (default 10) for the screen at ($1, $2) to be the colour $3 ("r,g,b").
e2e_wait_pixel() { e2e_until "${4:-10}" e2e_pixel_is "$1" "$2" "$3"; }

e2e_ended() { ! kill -0 "$1" 2>/dev/null; }
# Waits up to $2 seconds (default 10) for process $1 to end; its exit status is not read.
e2e_wait_exit() { e2e_until "${2:-10}" e2e_ended "$1"; }

# Ends a program started by a test and waits for it.
e2e_stop() { { kill "$1" && wait "$1"; } 2>/dev/null || true; }

# Makes files and folders $@ unchangeable, even for root (the tests may run as root, which Unix permissions
# do not stop): no file can be created, renamed or deleted in such a folder, and such a file cannot be
# written. Fails when the file system does not allow it.
e2e_make_unchangeable() {
    local path
    for path in "$@"; do
        chattr +i "$path" 2>/dev/null || return 1
        E2E_IMMUTABLE+=("$path")
    done
}

# Undoes every e2e_make_unchangeable, so that the run's folder can be deleted.
e2e_make_changeable() {
    local path
    for path in "${E2E_IMMUTABLE[@]}"; do
        chattr -i "$path" 2>/dev/null || true
    done
    E2E_IMMUTABLE=()
}

# Writes standard input to file $1 with CR LF line ends, as the launcher's files have them.
e2e_write_crlf() { sed 's/$/\r/' >"$1"; }

# The number of lines of file $1 (0 when there is no such file).
e2e_lines() { [ -e "$1" ] && tr -d '\r' <"$1" | wc -l || echo 0; }
e2e_has_lines() { [ "$(e2e_lines "$1")" -ge "$2" ]; }

# Waits up to $3 seconds (default 10) until file $1 has at least $2 lines; prints how many it has.
e2e_wait_lines() {
    e2e_until "${3:-10}" e2e_has_lines "$1" "$2" || true
    e2e_lines "$1"
}

# The position and size of X window $1 as "X Y WIDTH HEIGHT" (pixels, on the screen).
e2e_geometry() {
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9-]+$')"
    printf '%s %s %s %s\n' "$X" "$Y" "$WIDTH" "$HEIGHT"
}

# The screen position of the client area of window $1 whose client area is $2 x $3 pixels, as "X Y":
# Wine draws the frame of a window that no window manager manages inside the window, with the same border
# on the left, right and bottom and the caption on top.
e2e_client_origin() {
    local x y width height border
    read -r x y width height <<<"$(e2e_geometry "$1")"
    border=$(((width - $2) / 2))
    printf '%s %s\n' $((x + border)) $((y + height - $3 - border))
}

# Writes the rectangle $3,$4 of size $5 x $6 of screenshot $1 to image $2.
e2e_crop() { "$CONVERT" "$1" -crop "$5x$6+$3+$4" +repage "$2"; }

# The grey level (0 to 255) of the darkest pixel in the rectangle $2,$3 of size $4 x $5 of screenshot $1.
e2e_darkest() { "$CONVERT" "$1" -crop "$4x$5+$2+$3" +repage -colorspace Gray -format "%[fx:int(255*minima+0.5)]" info:; }

# The number of pixels in which images $1 and $2 (of the same size) differ.
e2e_pixels_differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
