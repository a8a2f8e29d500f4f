# End-to-end test of a data folder the launcher cannot use: it still runs, and loses or leaves nothing.
# shellcheck shell=bash

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
    touch "$E2E_TMP/probe"
    if chattr +i "$E2E_TMP/probe" 2>/dev/null && chattr -i "$E2E_TMP/probe"; then
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
