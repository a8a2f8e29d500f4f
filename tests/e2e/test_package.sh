# End-to-end test of the Windows Installer package under Wine's msiexec, in a Wine prefix of its own whose
# Desktop is the test's own folder. The packages are made from the build by scripts/package: the build's
# version, and the same files one revision newer.
# shellcheck shell=bash

# The versions of the products of the launcher's name registered for Add/Remove Programs.
registered_versions() { "$WINE64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | grep -A1 "DisplayName    REG_SZ    Tessaly Collection Launcher\$" | sed -n 's/.*Version    REG_SZ    //p'; }
msiexec_quiet() { "$WINE64" msiexec "$@" /qn >/dev/null 2>&1; }
start_menu_link() { find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs/Tessaly Collection.lnk'; }

# Install, start from the Start-menu shortcut's target and save by the exit button, upgrade in place keeping
# the settings file byte for byte, refuse the older package (1603, which the shell sees as 67), take the same
# version again, uninstall all but the settings file, and install without the desktop shortcut.
test_package_installs_upgrades_and_uninstalls() {
    local older newer next
    older=$("$HERE/../../scripts/package" --build "$BUILD" --out "$E2E_TMP/dist" | grep '\.msi$') || fail "no package" || return 1
    next=$(basename "$older" | sed 's/^tessaly-launcher-\(.*\)-x64\.msi$/\1/' | awk -F. '{ print $1 "." $2 "." $3 + 1 }')
    newer=$("$HERE/../../scripts/package" --build "$BUILD" --out "$E2E_TMP/dist" --version "$next" | grep '\.msi$')
    (
        mkdir -p "$E2E_TMP/home" && export HOME="$E2E_TMP/home" && make_wine_prefix "$E2E_TMP/msi-prefix" >/dev/null 2>&1
        # Wine's own copies of the shortcuts for the Linux desktop are not the package's to remove.
        export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
        local dir="$WINEPREFIX/drive_c/Program Files/Tessaly/Launcher" md5
        msiexec_quiet /i "$older" || fail "install failed"
        expect "installed files" "$(cd "$dir" && find . -type f | sort | xargs)" \
            "$(cd "$BUILD" && find launcher.exe data -type f ! -name 'progdata.xml*' | sed 's|^|./|' | sort | xargs)"
        [ -f "$HOME/Tessaly Collection.lnk" ] || fail "no desktop shortcut"
        expect "Start-menu shortcut's target" "$(strings -a "$(start_menu_link)" | grep -m1 -i '^C:.*launcher\.exe$')" \
            'C:\Program Files\Tessaly\Launcher\launcher.exe'
        "$WINE64" 'C:\Program Files\Tessaly\Launcher\launcher.exe' >/dev/null 2>&1 &
        LAUNCHER_PID=$!
        LAUNCHER_WID=$(e2e_wait_window 'Tessaly Collection') && e2e_wait_pixel 400 30 "0,0,128" || fail "no window"
        : >"$dir/data/progdata.xml"
        quit_by_exit_button
        expect "lines saved by the exit button" "$(e2e_lines "$dir/data/progdata.xml")" 33
        md5=$(md5sum <"$dir/data/progdata.xml")
        msiexec_quiet /i "$newer" && msiexec_quiet /i "$newer" || fail "upgrade, or the same version again, failed"
        expect "settings file after the upgrade" "$(md5sum <"$dir/data/progdata.xml")" "$md5"
        expect "registered after the upgrade" "$(registered_versions)" "$next"
        expect "older package's exit code" "$(msiexec_quiet /i "$older" || echo $?)" 67
        msiexec_quiet /x "$newer" || fail "uninstall failed"
        expect "left after uninstall" "$(find "$dir/.." "$HOME" -maxdepth 3 -type f)" "$dir/../Launcher/data/progdata.xml"
        expect "registered after uninstall" "$(registered_versions)$(start_menu_link)" ""
        msiexec_quiet /i "$older" ADDLOCAL=Launcher || fail "install without the desktop shortcut failed"
        [ -n "$(start_menu_link)" ] && [ ! -e "$HOME/Tessaly Collection.lnk" ] || fail "ADDLOCAL=Launcher: wrong shortcuts"
        "$WINESERVER" -k && [ "$E2E_FAILED" -eq 0 ]
    )
}
