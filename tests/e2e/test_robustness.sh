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
