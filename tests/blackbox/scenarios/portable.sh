# The portable zip of `make dist`, unpacked into a folder of the scenario's
# private prefix: its program starts from there and finds its help and, when
# packaged, its skins; the README is a Windows text.
# Sourced by tests/blackbox/run.sh, whose helpers it uses.

version="${VELKIN_VERSION:?VELKIN_VERSION names the version packaged}"
package="${VELKIN_DIST:-$source_dir/dist}/Velkin-$version-portable.zip"
[ -f "$package" ] || fail "no $package: run make dist"

unzip -q "$package" -d "$work/prefix/drive_c/Portable"
folder="$work/prefix/drive_c/Portable/Velkin-$version"
for file in velkin.exe Velkin.chm README.txt; do
    [ -f "$folder/$file" ] || fail "the zip has no Velkin-$version/$file"
done
[ "$(grep -c $'\r$' "$folder/README.txt")" = "$(wc -l <"$folder/README.txt")" ] ||
    fail "README.txt does not end its lines with CR LF"

velkin_win="C:\\Portable\\Velkin-$version\\velkin.exe"
start_velkin
driver wait-visible 10000 >/dev/null || fail "the unpacked velkin.exe shows no window"
expect_help_window
expect_default_skin "$folder"
exit_from_tray
