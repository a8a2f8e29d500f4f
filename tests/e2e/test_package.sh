# End-to-end test of the Windows Installer package under Wine's msiexec, in a Wine prefix of its own whose
# Desktop is the test's own folder. The packages are made from the build by scripts/package: the build's
# version, and the same files one revision newer.
# shellcheck shell=bash

PRODUCT_NAME='Tessaly Collection Launcher'

# The products of that name registered for Add/Remove Programs, and their versions.
registered_versions() {
    "$WINE64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
        grep -A1 "DisplayName    REG_SZ    $PRODUCT_NAME\$" | sed -n 's/.*DisplayVersion    REG_SZ    //p' | xargs
}
msiexec_quiet() { "$WINE64" msiexec "$@" /qn >/dev/null 2>&1; }
start_menu_link() { find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs/Tessaly Collection.lnk'; }

# Install, start from the Start-menu shortcut's target and save by the exit button, upgrade in place keeping
# the settings file byte for byte, refuse the older package, take the same version again, uninstall all but
# the settings file, and install without the desktop shortcut.
test_package_installs_upgrades_and_uninstalls() {
    local dist="$E2E_TMP/dist" older newer version next
    older=$("$ROOT/scripts/package" --build "$BUILD" --out "$dist" | grep -m1 '\.msi$') || fail "no package" || return 1
    version=$(basename "$older" -x64.msi)
    version=${version#tessaly-launcher-}
    next="${version%.*}.$((${version##*.} + 1))"
    newer=$("$ROOT/scripts/package" --build "$BUILD" --out "$dist" --version "$next" | grep -m1 '\.msi$')
    (
        export HOME="$E2E_TMP/home"
        mkdir -p "$HOME"
        make_wine_prefix "$E2E_TMP/msi-prefix" >/dev/null 2>&1
        # Wine's own copies of the shortcuts for the Linux desktop are not the package's to remove.
        export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
        local dir="$WINEPREFIX/drive_c/Program Files/Tessaly/Launcher" settings md5 code=0
        settings="$dir/data/progdata.xml"
        msiexec_quiet /i "$older" || fail "install failed"
        expect "installed files" "$(cd "$dir" && find . -type f | sort | xargs)" \
            "$(cd "$BUILD" && find launcher.exe data -type f ! -name 'progdata.xml*' | sed 's|^|./|' | sort | xargs)"
        [ -f "$HOME/Tessaly Collection.lnk" ] || fail "no desktop shortcut"
        expect "Start-menu shortcut's target" "$(strings -a "$(start_menu_link)" | grep -m1 -i '^C:.*launcher\.exe$')" \
            'C:\Program Files\Tessaly\Launcher\launcher.exe'
        "$WINE64" 'C:\Program Files\Tessaly\Launcher\launcher.exe' >/dev/null 2>&1 &
        LAUNCHER_PID=$!
        LAUNCHER_WID=$(e2e_wait_window 'Tessaly Collection') && e2e_wait_pixel 400 30 "0,0,128" || fail "no window"
        : >"$settings"
        quit_by_exit_button
        SETTINGS=$settings expect_settings_of_29 29
        md5=$(md5sum <"$settings")
        msiexec_quiet /i "$newer" || fail "upgrade failed"
        expect "settings file after the upgrade" "$(md5sum <"$settings")" "$md5"
        expect "registered after the upgrade" "$(registered_versions)" "$next"
        msiexec_quiet /i "$older" || code=$?
        expect "older package's exit code (1603)" "$code" 67
        msiexec_quiet /i "$newer" || fail "the same version again failed"
        expect "registered after the same version again" "$(registered_versions)" "$next"
        msiexec_quiet /x "$newer" || fail "uninstall failed"
        expect "left after uninstall" "$(find "$WINEPREFIX/drive_c/Program Files/Tessaly" "$HOME" -maxdepth 3 -type f)" "$settings"
        expect "registered after uninstall" "$(registered_versions)" ""
        [ -z "$(start_menu_link)" ] || fail "the Start-menu shortcut stayed"
        msiexec_quiet /i "$older" ADDLOCAL=Launcher || fail "install without the desktop shortcut failed"
        [ -n "$(start_menu_link)" ] && [ ! -e "$HOME/Tessaly Collection.lnk" ] || fail "ADDLOCAL=Launcher: wrong shortcuts"
        "$WINESERVER" -k
        [ "$E2E_FAILED" -eq 0 ]
    )
}
