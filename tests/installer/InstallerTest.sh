#!/usr/bin/env bash
# The installer end to end under Wine, in a Wine prefix of its own: a silent install into a
# folder with spaces, an upgrade over the running suite, and a silent uninstall while the suite
# runs; the user's settings folder outlives both.
#   InstallerTest.sh <build folder> <source folder>
set -uo pipefail
build=$1
root=$2
probe=$build/installer/WindowProbe.exe
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win64
# No menu entries or file associations of the test's shortcuts on the host.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$work"' EXIT

passed=0
failed=0
check() { # what, command...
    if "${@:2}"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $1"
    fi
}
wine_quiet() { wine "$@" </dev/null >>"$work/wine.log" 2>&1; }
# The setup program takes "/D=" to the end of its command line, spaces and all, which only a
# batch file passes on unquoted.
install_into() { # folder
    printf '@"%s" /S /D=%s\r\nexit /b %%errorlevel%%\r\n' "$(winepath -w "$setup" 2>/dev/null)" "$1" \
        >"$work/install.bat"
    wine_quiet cmd /c "$(winepath -w "$work/install.bat" 2>/dev/null)"
}
run_key() { wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' \
    /v 'Selvin V212 Gaming Mouse' </dev/null 2>/dev/null | tr -d '\r'; }
service_process() { wine "$probe" absent V212Hid </dev/null 2>/dev/null | tr -d '\r'; }
shortcut_count() { find "$WINEPREFIX/drive_c/users" -name 'Selvin V212 Gaming Mouse.lnk' | wc -l; }
wait_for() { # seconds, condition...
    local end=$((SECONDS + $1))
    until "${@:2}"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.2
    done
}

# The prefix is made while the installer is packed.
(wineboot -i >/dev/null 2>&1; wineserver -w) &
boot=$!
if ! bash "$root/installer/make-installer.sh" "$build" "$work/package" >"$work/package.log" 2>&1; then
    cat "$work/package.log"
    echo "FAILED: the installer could not be made"
    exit 1
fi
wait $boot
setup=$work/package/V212-Setup.exe
stage=$work/package/stage
# Wine's own services start now, with no output of the commands below to hold open.
wineserver -p </dev/null >/dev/null 2>&1
wine_quiet reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f

target='C:\V212 Test\Gaming Mouse'
folder=$(winepath -u "$target" 2>/dev/null)
wine cmd /c echo %APPDATA% </dev/null >"$work/appdata.txt" 2>/dev/null
settings="$(winepath -u "$(tr -d '\r\n' <"$work/appdata.txt")" 2>/dev/null)/Selvin V212 Gaming Mouse/GamingMouse"

# Install: the program folder as the build installs it, the uninstaller, the shortcut, the Run
# key, and the service started (it makes the settings file and its window).
check "silent install exits 0" install_into "$target"
check "installed files equal the program folder" diff -rq -x uninstall.exe "$stage" "$folder"
check "uninstaller present" test -f "$folder/uninstall.exe"
check "Run key names the service" grep -qF "\"$target\\tolvane.exe\"" <(run_key)
check "Start-menu shortcut present" test "$(shortcut_count)" -eq 1
check "service makes Mouse.ini" wait_for 30 test -f "$settings/Mouse.ini"
check "service window up" wine_quiet "$probe" wait 30 V212Hid
first=$(service_process)
echo "the user's own file" >"$settings/note.txt"
cp "$settings/Mouse.ini" "$work/Mouse.ini"

# Upgrade over the running suite: the old service ends and a new one starts; settings untouched.
check "upgrade exits 0" install_into "$target"
check "upgraded files equal the program folder" diff -rq -x uninstall.exe "$stage" "$folder"
check "service window up after upgrade" wine_quiet "$probe" wait 30 V212Hid
second=$(service_process)
check "upgrade restarted the service ($first, then $second)" test -n "$first" -a "$first" != "$second"
check "upgrade keeps the user's files" test -f "$settings/note.txt"
check "upgrade keeps Mouse.ini" test -f "$settings/Mouse.ini"
check "one shortcut after upgrade" test "$(shortcut_count)" -eq 1

# Uninstall while the suite runs. The uninstaller runs from a copy of itself, so the command
# returns at once: the folder's going is what ends it.
check "silent uninstall exits 0" wine_quiet "$folder/uninstall.exe" /S
check "program folder removed" wait_for 30 test ! -e "$folder"
check "suite ended" wine_quiet "$probe" absent V212Hid V212MousePennrack "Selvin V212 Gaming Mouse"
check "Run key removed" eval '! run_key >/dev/null'
check "shortcut removed" test "$(shortcut_count)" -eq 0
check "settings folder kept" test -f "$settings/note.txt" -a -f "$settings/Mouse.ini"

if [ $failed -ne 0 ]; then
    echo "Wine output:"
    tail -n 30 "$work/wine.log"
fi
echo "installer: $passed passed, $failed failed"
[ $failed -eq 0 ]
