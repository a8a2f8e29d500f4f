# End-to-end tests of a data folder the launcher cannot use (it still runs, and loses or leaves nothing), of
# saves that a kill, a second machine or a planted name must not spoil, and of a picture too large to load.
# shellcheck shell=bash

# Whether this file system lets a test make a folder read-only for root (chattr +i).
can_make_unchangeable() { touch "$E2E_TMP/probe" && chattr +i "$E2E_TMP/probe" 2>/dev/null && chattr -i "$E2E_TMP/probe"; }

# The names of everything in folder $1 and the checksums of its files.
folder_state() { (cd "$1" && find . | sort && find . -type f -print0 | sort -z | xargs -0 md5sum); }

# Makes the staged data folder unusable as case $1 names; sets LOCKER (the program holding the settings
# file, if any) and BEFORE (the state of the launcher's folder).
spoil_data_folder() {
    LOCKER=""
    case $1 in
    no-data-folder) rm -rf "$FOLDER/data" ;;
    read-only-with-settings) write_own_settings && e2e_make_unchangeable "$FOLDER/data" "$SETTINGS" ;;
    read-only-without-settings) e2e_make_unchangeable "$FOLDER/data" ;;
    locked*)
        write_own_settings
        "$WINE64" "$BUILD/win32_file_locker.exe" 'T:\Tessaly Launcher\data\progdata.xml' >"$E2E_TMP/locker.out" 2>&1 &
        LOCKER=$!
        E2E_PIDS+=("$LOCKER")
        e2e_until 15 grep -q locked "$E2E_TMP/locker.out" || fail "not locked: $(cat "$E2E_TMP/locker.out")" || return 1
        ;;
    esac
    BEFORE=$(folder_state "$FOLDER")
}

# Without a data folder, in a data folder that cannot be written (with or without a settings file), and
# with a settings file that another program holds open with no sharing (to the end, or let go before the
# exit), the launcher shows its window and the exit button ends it; its folder keeps exactly what it held.
test_survives_an_unusable_data_folder() {
    local cases=(no-data-folder locked-to-the-end locked-then-let-go) case
    if can_make_unchangeable; then
        cases+=(read-only-with-settings read-only-without-settings)
    else
        e2e_log "   SKIPPED the read-only cases: this file system cannot make a folder read-only for root (chattr +i)"
    fi
    for case in "${cases[@]}"; do
        e2e_log "   $case"
        launch_staged "$case" spoil_data_folder "$case" || return 1
        screenshot "$case"
        if [ "$case" = locked-then-let-go ]; then
            e2e_stop "$LOCKER"
            sleep 0.5
        fi
        quit_by_exit_button
        expect "the launcher's folder ($case)" "$(folder_state "$FOLDER")" "$BEFORE"
        e2e_make_changeable
        [ -z "$LOCKER" ] || e2e_stop "$LOCKER"
        e2e_stop "$LAUNCHER_PID"
    done
}

# ---- Saves that a crash, another machine or a planted name must not spoil ----

temporaries() { find "$FOLDER/data" -maxdepth 1 -type f -name 'progdata.xml.*.tmp' | wc -l; }

# Leaves through the exit button of window $1 (of the display in DISPLAY).
click_exit() { xdotool mousemove --window "$1" 993 30 click 1; }

# Starts the staged launcher from drive T: and waits until its window is drawn; sets LAUNCHER_PID and
# LAUNCHER_WID.
start_and_wait() {
    e2e_start_launcher "$FOLDER"
    LAUNCHER_WID=$(e2e_wait_window 'Tessaly Collection') || fail "no window" || return 1
    e2e_wait_pixel 400 30 "0,0,128" || fail "the title bar was not drawn"
}

# A settings file of three shown programs, each line with the attributes $1 besides its name and path.
write_three_programs() {
    local name
    {
        printf '%s\r\n' "<programs>" "<options showall='True' />" "<order p0='2' p1='0' p2='1' />"
        for name in Alpha Beta Gamma; do
            printf "<program name='%s' path='%s' show='T' %s />\r\n" "$name" "T:\\Apps\\$name.exe" "$1"
        done
    } >"$SETTINGS"
}

# Long descriptions make a save take long enough for kills to land inside it; a copy is the old text.
# Folders planted under the old temporary's name and under a name of the launcher's own temporaries must
# stop no save.
write_long_settings() {
    write_three_programs "desc='$(head -c 300000 /dev/zero | tr '\0' x)'" && cp "$SETTINGS" "$E2E_TMP/old-settings" &&
        mkdir "$FOLDER/data/progdata.xml.new" "$FOLDER/data/progdata.xml.0123456789abcdef.tmp"
}

# Killed at random moments of 25 saves through the exit button, the launcher always leaves the old or the new
# settings file whole; the next save removes the temporaries that the killed ones left, and the planted
# folders stay.
test_a_kill_during_a_save_leaves_a_whole_file() {
    launch_staged kill write_long_settings || return 1
    local old new round inside=0 old_kept=0 leftover
    old=$(md5sum <"$SETTINGS")
    quit_by_exit_button
    new=$(md5sum <"$SETTINGS")
    [ "$old" != "$new" ] || fail "the exit button did not save" || return 1
    for round in $(seq 25); do
        cp "$E2E_TMP/old-settings" "$SETTINGS"
        start_and_wait || return 1
        # The kill comes 0 to 30 ms after the save begins, seen when the temporaries change (the save removes
        # those of earlier kills and makes its own), which spreads the kills over the whole save.
        leftover=$(compgen -G "$FOLDER/data/progdata.xml.*.tmp" || true)
        click_exit "$LAUNCHER_WID" 2>/dev/null &
        while [ "$(compgen -G "$FOLDER/data/progdata.xml.*.tmp" || true)" = "$leftover" ] &&
            kill -0 "$LAUNCHER_PID" 2>/dev/null; do :; done
        sleep "$(printf '0.%03d' $((RANDOM % 30)))"
        { kill -9 "$LAUNCHER_PID" && wait "$LAUNCHER_PID"; } 2>/dev/null || true
        wait $!
        [ "$(temporaries)" -eq 0 ] || inside=$((inside + 1))
        case $(md5sum <"$SETTINGS") in
        "$old") old_kept=$((old_kept + 1)) ;;
        "$new") ;;
        *) fail "round $round: the settings file is neither the old text nor the new" ;;
        esac
    done
    e2e_log "   $inside of 25 kills landed inside a save and left its temporary, $old_kept kept the old text"
    start_and_wait && quit_by_exit_button
    expect "temporaries after the next save" "$(temporaries)" 0
    expect "planted folders" "$(find "$FOLDER/data" -mindepth 1 -type d | wc -l)" 2
}

# A second machine sharing the launcher's folder: its own Wine prefix (so its own wineserver, which shares no
# mutex, lock or sharing mode with the first) on its own display, seeing the launcher's root as drive U:.
start_second_machine() {
    local n
    for n in ${E2E_DISPLAYS:-90 91 92 93 94 95 96 97 98 99}; do
        [ ":$n" != "$DISPLAY" ] && [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] || continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$E2E_TMP/xvfb2.log" 2>&1 &
        E2E_PIDS+=("$!")
        SECOND_DISPLAY=":$n"
        break
    done
    [ -n "${SECOND_DISPLAY:-}" ] && e2e_until 5 xdpyinfo -display "$SECOND_DISPLAY" >/dev/null 2>&1 ||
        fail "no second display" || return 1
    SECOND_PREFIX="$E2E_TMP/prefix2"
    # Made on the second display: the services it starts belong to that machine.
    (DISPLAY=$SECOND_DISPLAY make_wine_prefix "$SECOND_PREFIX") || fail "no second prefix" || return 1
    ln -sfn "$ROOT" "$SECOND_PREFIX/dosdevices/u:"
}
stop_second_machine() { WINEPREFIX=$SECOND_PREFIX "$WINESERVER" -k 2>/dev/null || true; }
on_second_machine() { DISPLAY=$SECOND_DISPLAY WINEPREFIX=$SECOND_PREFIX "$@"; }

# Starts the launcher on the second machine and waits until its window is drawn; sets SECOND_PID and
# SECOND_WID.
start_second() {
    on_second_machine "$WINE64" 'U:\Tessaly Launcher\launcher.exe' >>"$E2E_TMP/launcher2.log" 2>&1 &
    SECOND_PID=$!
    E2E_PIDS+=("$SECOND_PID")
    SECOND_WID=$(on_second_machine e2e_wait_window 'Tessaly Collection') || fail "no window on the second machine" ||
        return 1
    on_second_machine e2e_wait_pixel 400 30 "0,0,128" || fail "the second machine's title bar was not drawn"
}

# One program whose executable is missing where the settings file says; discovery finds it at \Apps\alpha.exe
# of the launcher's drive, so a launcher on T: saves T:\Apps\alpha.exe and one on U: saves U:\Apps\alpha.exe.
write_drive_settings() {
    mkdir -p "$ROOT/Apps" && cp "$BUILD/demo_program.exe" "$ROOT/Apps/alpha.exe"
    printf '%s\r\n' "<program name='Alpha' p1='\\Apps\\alpha.exe' />" >"$FOLDER/data/poss paths.xml"
    printf '%s\r\n' "<programs>" "<options showall='True' />" "<order p0='0' />" \
        "<program name='Alpha' path='X:\\alpha.exe' show='T' />" "</programs>" >"$E2E_TMP/old-settings"
    cp "$E2E_TMP/old-settings" "$SETTINGS"
}

# Two machines running the launcher from one shared folder leave at the same moment, 20 times: the settings
# file is always one of their two complete saves, and no temporary stays.
test_two_machines_leaving_together_leave_one_whole_save() {
    launch_staged shared write_drive_settings || return 1
    quit_by_exit_button
    local t u round wins_t=0 wins_u=0
    grep -q 'T:\\Apps\\alpha.exe' "$SETTINGS" || fail "discovery on T: did not find the program"
    t=$(md5sum <"$SETTINGS")
    u=$(sed 's/T:\\Apps/U:\\Apps/' "$SETTINGS" | md5sum) # the second machine's save
    start_second_machine || { stop_second_machine; return 1; }
    for round in $(seq 20); do
        cp "$E2E_TMP/old-settings" "$SETTINGS"
        start_and_wait && start_second || break
        click_exit "$LAUNCHER_WID" &
        on_second_machine click_exit "$SECOND_WID"
        wait $!
        e2e_wait_exit "$LAUNCHER_PID" 15 && e2e_wait_exit "$SECOND_PID" 15 || fail "round $round: still running"
        case $(md5sum <"$SETTINGS") in
        "$t") wins_t=$((wins_t + 1)) ;;
        "$u") wins_u=$((wins_u + 1)) ;;
        *) fail "round $round: the settings file is neither machine's save" ;;
        esac
        expect "round $round: temporaries" "$(temporaries)" 0
    done
    e2e_log "   the file was the first machine's save $wins_t times, the second's $wins_u times"
    stop_second_machine
}

# Where the data folder refuses new files but the settings file itself may be written, the exit button writes
# it in place.
test_a_folder_refusing_new_files_is_saved_in_place() {
    can_make_unchangeable || { e2e_log "   SKIPPED: no chattr +i on this file system" && return 0; }
    launch_staged in-place eval 'write_own_settings && e2e_make_unchangeable "$FOLDER/data"' || return 1
    quit_by_exit_button
    expect_settings_of_29 2
}

# A bitmap of 16384 x 16384 pixels at 1 bit (32 MB on disk, a gigabyte decoded) as the picture of three
# tiles: the window is drawn within 5 s and the launcher's peak memory stays below 150 MB.
write_huge_picture() {
    # The file header, a 40-byte header of 16384 x 16384 pixels at 1 bit, a black and white palette, the rows.
    { printf 'BM\x3e\0\0\x02\0\0\0\0\x3e\0\0\0\x28\0\0\0\0\x40\0\0\0\x40\0\0\x01\0\x01\0'
        printf '\0\0\0\0\0\0\0\x02\0\0\0\0\0\0\0\0\x02\0\0\0\0\0\0\0\0\0\0\0\xff\xff\xff\0'
        head -c $((16384 * 16384 / 8)) /dev/zero; } >"$FOLDER/data/huge.bmp"
    write_three_programs "picpath='T:\\Tessaly Launcher\\data\\huge.bmp'"
}
test_a_huge_picture_takes_neither_time_nor_memory() {
    FOLDER=$(e2e_stage huge)
    SETTINGS="$FOLDER/data/progdata.xml"
    write_huge_picture
    local start=$SECONDS peak
    start_and_wait || return 1
    [ $((SECONDS - start)) -le 5 ] || fail "the window was drawn after $((SECONDS - start)) s"
    peak=$(awk '/^VmHWM:/ { print int($2 / 1024) }' "/proc/$LAUNCHER_PID/status")
    e2e_log "   drawn after $((SECONDS - start)) s, peak memory $peak MB"
    [ "$peak" -lt 150 ] || fail "peak memory $peak MB"
    quit_by_exit_button
}

# ---- Files of any size, and links planted in the data folder ----

# A 24-bit bitmap file $1 of $2 x $3 pixels, each pixel coloured by the Python expression $4 of x and y
# (an RGB tuple).
write_bitmap() {
    python3 - "$@" <<'PY'
import struct, sys
path, w, h, colour = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), eval("lambda x, y: " + sys.argv[4])
stride = (w * 3 + 3) // 4 * 4
rows = b"".join(bytes(c for x in range(w) for c in colour(x, y)[::-1]).ljust(stride, b"\0") for y in range(h - 1, -1, -1))
header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 0, 0, 0, 0)
open(path, "wb").write(b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54) + header + rows)
PY
}

# Installed programs with the pictures $1... of the data folder, shown in that order.
write_pictured() {
    local i=0 name
    mkdir -p "$ROOT/Apps"
    {
        printf '%s\r\n' "<programs>" "<options showall='True' />" "<order p0='0' p1='1' p2='2' />"
        for name in "$@"; do
            touch "$ROOT/Apps/p$i.exe"
            printf "<program name='P%s' path='T:\\\\Apps\\\\p%s.exe' show='T' picpath='T:\\\\Tessaly Launcher\\\\data\\\\%s' />\r\n" \
                "$i" "$i" "$name"
            i=$((i + 1))
        done
    } >"$SETTINGS"
}

write_large_pictures() {
    local quadrants='(200, 30, 30) if (x < w / 2) == (y < h / 2) else (20, 40, 220)' halves='(0, 160, 60) if x < w / 2 else (240, 200, 0)'
    write_bitmap "$FOLDER/data/large.bmp" 600 600 "$quadrants" && write_bitmap "$FOLDER/data/small.bmp" 64 64 "$quadrants"
    write_bitmap "$FOLDER/data/wide.bmp" 2000 100 "$halves" && write_pictured large.bmp small.bmp wide.bmp
}

# Where tile $1 of the first row shows its picture in the window at its first size.
picture_left() { echo $((72 + $1 * 180)); }
picture_top() { echo 100; }

# Pictures larger than 512 pixels a side are shown at 64 x 64: the 600 x 600 one pixel for pixel as its 64 x 64
# copy, the 2000 x 100 one as its two halves.
test_large_pictures_are_shown_at_the_tile_size() {
    launch_staged large write_large_pictures || return 1
    sleep 1
    screenshot large
    local tile
    for tile in 0 1 2; do
        e2e_crop "$E2E_TMP/large.png" "$E2E_TMP/picture$tile.png" "$(picture_left "$tile")" "$(picture_top "$tile")" 64 64
    done
    expect "pixels of the 600 x 600 picture unlike its copy" "$(e2e_pixels_differing "$E2E_TMP/picture0.png" "$E2E_TMP/picture1.png")" 0
    "$CONVERT" -size 32x64 'xc:rgb(0,160,60)' 'xc:rgb(240,200,0)' +append "$E2E_TMP/halves.png"
    expect "pixels of the 2000 x 100 picture unlike its halves" "$(e2e_pixels_differing "$E2E_TMP/picture2.png" "$E2E_TMP/halves.png")" 0
    expect "the copy's corners" "$(e2e_pixel "$(picture_left 1)" "$(picture_top 1)") $(e2e_pixel 315 163)" \
        "200,30,30 200,30,30"
    quit_by_exit_button
}

# A settings file padded past 1 MB with empty lines shows its tiles and is written again at the exit.
test_a_padded_settings_file_shows_its_tiles_and_is_saved() {
    pad_settings() { write_large_pictures && head -c 1153434 /dev/zero | tr '\0' '\r' >>"$SETTINGS"; }
    launch_staged padded pad_settings || return 1
    sleep 1
    expect "the first tile's picture" "$(e2e_pixel "$(picture_left 0)" "$(picture_top 0)")" "200,30,30"
    quit_by_exit_button
    expect_settings_of_29 3
}

# A link planted at the name of one of the launcher's temporaries is left alone by the save, and so is the
# file it leads to, outside the data folder.
test_a_link_at_a_temporarys_name_keeps_its_target() {
    plant_link() { write_own_settings && printf 'not the launcher'"'"'s\r\n' >"$E2E_TMP/target" &&
        ln -s "$E2E_TMP/target" "$FOLDER/data/progdata.xml.0123456789abcdef.tmp"; }
    launch_staged linked plant_link || return 1
    quit_by_exit_button
    expect_settings_of_29 2
    expect "the link's target" "$(cat "$E2E_TMP/target" 2>&1)" "not the launcher's"$'\r'
    [ -L "$FOLDER/data/progdata.xml.0123456789abcdef.tmp" ] || fail "the link was removed"
}
