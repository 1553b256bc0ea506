# The installer of `make dist`, run silently in the scenario's private copy of
# the prefix: what it installs, the program it installed (help, skins,
# version), an update over a running Velkin, and the uninstaller, which takes
# the program away and leaves the user's data folder as it was.
# Sourced by tests/blackbox/run.sh, whose helpers it uses.

dist="${VELKIN_DIST:-$source_dir/dist}"
version="${VELKIN_VERSION:?VELKIN_VERSION names the version packaged}"
setup="$dist/Velkin-$version-setup.exe"
package="$dist/Velkin-$version-portable.zip"
[ -f "$setup" ] && [ -f "$package" ] || fail "no packages in $dist: run make dist"

windows_path() { echo "Z:$(echo "$1" | tr / '\\')"; }
host_path() { echo "$work/prefix/drive_c/$(echo "${1#C:\\}" | tr '\\' /)"; }
reg() { "$wine_run" reg "$@" 2>/dev/null | tr -d '\r'; }
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkin'
installed_win="$(driver appdata local | tr -d '\r')\\Programs\\Velkin"
installed="$(host_path "$installed_win")"
menu="$(host_path "$(driver appdata programs | tr -d '\r')")/Velkin"
velkin_win="$installed_win\\velkin.exe"

# The files of the package, unpacked: the installed program must be these.
mkdir "$work/package"
unzip -q "$package" -d "$work/package"
unpacked="$work/package/Velkin-$version"
packaged_files() { (cd "$1" && find . -type f ! -name uninstall.exe | sort); }

code=0
driver run 1 120000 "$(windows_path "$setup")" /S /start || code=$?
[ "$code" = 0 ] || fail "the silent installer ended with $code"
[ -f "$installed/uninstall.exe" ] || fail "no uninstaller in $installed"
[ "$(packaged_files "$installed")" = "$(packaged_files "$unpacked")" ] ||
    fail "installed files differ from the package's: $(packaged_files "$installed" | tr '\n' ' ')"
while read -r file; do
    cmp -s "$installed/$file" "$unpacked/$file" || fail "installed $file differs from the package's"
done < <(packaged_files "$unpacked")
note "installed: $(packaged_files "$installed" | tr '\n' ' ')"

# Shortcuts to both programs and the help; each names its target.
shortcuts=("Velkin.lnk:velkin.exe" "Velkin Help.lnk:Velkin.chm")
[ ! -f "$installed/skinedit.exe" ] || shortcuts+=("Velkin Skin Editor.lnk:skinedit.exe")
for shortcut in "${shortcuts[@]}"; do
    link="$menu/${shortcut%%:*}"
    [ -f "$link" ] || fail "no Start menu shortcut ${shortcut%%:*}"
    grep -aq "${shortcut#*:}" "$link" || fail "${shortcut%%:*} does not lead to ${shortcut#*:}"
done

# Registered for "Apps & features", for this user only.
entry="$(reg query "$uninstall_key")" || fail "no uninstall entry"
value_of() { sed -n "s/^ *$1 \+REG_[A-Z_]\+ \+//p" <<<"$entry"; }
[ "$(value_of DisplayName)" = "Velkin 1.0" ] && [ "$(value_of DisplayVersion)" = "$version" ] &&
    [ "$(value_of UninstallString)" = "\"$installed_win\\uninstall.exe\"" ] &&
    [ "$(value_of InstallLocation)" = "$installed_win" ] || fail "the uninstall entry differs: $entry"
grep -aq 'level="asInvoker"' "$setup" || fail "the installer asks for administrator rights"
for program in "$velkin_win" "$(windows_path "$setup")"; do
    [ "$(driver version "$program" | tr -d '\r')" = "$version $version" ] ||
        fail "$program does not carry version $version: $(driver version "$program")"
done

# /start started the installed program, which finds its help and, when
# packaged, its skins.
driver wait-visible 20000 >/dev/null || fail "/start did not start Velkin shown"
expect_help_window
expect_default_skin "$installed"
driver command 555 || fail "cannot send Exit"
driver wait-gone 20000 || fail "Exit did not end the installed Velkin"
[ -f "$current/list.xml" ] || fail "the installed velkin.exe saved no lists"

# The user's own things: a backup, a note in the data folder, a skin of
# their own, and the logon entry that Settings would make.
mkdir -p "$data/12-6-2026" "$installed/skins"
cp "$current"/*.xml "$data/12-6-2026/"
echo "my note" >"$data/notes.txt"
echo "my skin" >"$installed/skins/My skin"
"$wine_run" reg add "$run_key" /v "Velkin 1.0" /t REG_SZ /d "\"$velkin_win\" -autorun" /f >/dev/null 2>&1 ||
    fail "cannot add the logon entry"
snapshot() { (cd "$data" && find . | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
before="$(snapshot)"

# An update through the installer's pages over a running Velkin: it ends that
# Velkin as Exit does, and its last page starts the new one.
start_velkin -autorun
rm -f "$work/setup-exit"
(
    code=0
    driver run 1 120000 "$(windows_path "$setup")" || code=$?
    echo "$code" >"$work/setup-exit"
) &
for _ in $(seq 1 60); do
    [ -f "$work/setup-exit" ] && break
    driver click "Velkin Setup" 1 >/dev/null 2>&1 || true   # Next, Install, Finish
    sleep 1
done
[ "$(cat "$work/setup-exit" 2>/dev/null)" = 0 ] || fail "the installer's pages did not end well"
expect_exit
driver wait-visible 20000 >/dev/null || fail "\"Start Velkin now\" did not start Velkin shown"
[ -f "$installed/skins/My skin" ] || fail "the update removed the user's skin"

# The uninstaller, while that Velkin runs.
code=0
driver run 1 60000 "$installed_win\\uninstall.exe" /S || code=$?
[ "$code" = 0 ] || fail "the uninstaller ended with $code"
for _ in $(seq 1 300); do
    [ -e "$installed/uninstall.exe" ] || break
    sleep 0.2
done
[ ! -e "$installed/uninstall.exe" ] || fail "the uninstaller did not finish"
driver wait-gone 20000 || fail "the uninstaller left Velkin running"
left="$(cd "$installed" && find . -type f | sort)"
[ "$left" = "./skins/My skin" ] || fail "the uninstaller left or took the wrong files: $left"
[ ! -e "$menu" ] || fail "the Start menu folder is still there"
reg query "$uninstall_key" >/dev/null && fail "the uninstall entry is still there"
reg query "$run_key" /v "Velkin 1.0" >/dev/null && fail "the logon entry is still there"
reg query 'HKCU\Software\Velkin 1.0' >/dev/null || fail "the uninstaller removed the settings"
[ "$(snapshot)" = "$before" ] || fail "the data folder changed: $(diff <(echo "$before") <(snapshot))"
