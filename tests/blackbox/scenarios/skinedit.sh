# The skin editor, skinedit.exe, driven from outside: started on a bundled
# skin it shows that skin; a value changed and a picture removed reach the
# file saved through the real save dialog, and nothing else changes; Cancel
# after edits asks, and No keeps the edits (with none it does not ask); OK whose save dialog was cancelled goes back
# to the sheet; started without a skin it shows an empty one.
# Sourced by tests/blackbox/run.sh, whose helpers it uses.

[ -f "$build/skinedit.exe" ] || fail "missing $build/skinedit.exe"
skinedit_win="$(winpath "$build/skinedit.exe")"
sheet="Skin Properties"

# Where each skin value and each slot is shown, as PAGE:ID.
fields=()
for id in $(seq 201 210); do fields+=("0:$id"); done
for page in 1 2 3 4 5 6; do for id in 211 212 213 214; do fields+=("$page:$id"); done; done
previews=(0:251 1:253 1:255 1:257)
for page in 2 3 4 5 6; do for id in 259 261 263; do previews+=("$page:$id"); done; done

# Starts the editor with the given command line; its exit code lands in
# $work/editor-exit, the titles of its pages in $pages.
start_skinedit() {
    rm -f "$work/editor-exit"
    (
        set +e
        driver run 1 120000 "$skinedit_win" "$@"
        echo $? >"$work/editor-exit"
    ) &
    pages="$(driver sheet "$sheet" 60000 | tr -d '\r')" || fail "no \"$sheet\" sheet after start"
}

expect_editor_exit() {
    for _ in $(seq 1 200); do
        [ -f "$work/editor-exit" ] && break
        sleep 0.1
    done
    [ "$(cat "$work/editor-exit" 2>/dev/null)" = 0 ] || fail "the editor did not end with 0"
}

read_sheet() { driver sheet-read "$sheet" "$@" | tr -d '\r' | tr '\n' ' '; }

# Presses a button of a dialog once it is there.
press() {  # TITLE ID
    for _ in $(seq 1 100); do
        driver click "$1" "$2" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "no \"$1\" dialog to press $2 in"
}

cp "$build/skins/Default" "$work/Default skin"
mapfile -t original < <(driver skin-values "$(winpath "$work/Default skin")" | tr -d '\r')
read -r -a values <<<"${original[0]}"

start_skinedit "\"$(winpath "$work/Default skin")\""
[ "$pages" = "Window|Tree|Close|Lists|Active|Done|Calendar" ] || fail "the sheet's pages: $pages"
expect_no_boxes
[ "$(read_sheet "${fields[@]}")" = "${values[*]} " ] ||
    fail "the fields show $(read_sheet "${fields[@]}"), the skin holds ${values[*]}"
expected=""
for slot in $(seq 0 18); do
    if [ "${original[slot + 1]%%:*}" = 0 ]; then expected+="[none] "; else expected+="[picture] "; fi
done
[ "$(read_sheet "${previews[@]}")" = "$expected" ] || fail "the previews show $(read_sheet "${previews[@]}")"

# The "Lists" button's right edge (value 19) moved; the close button's
# hover picture (slot 5) removed with a double-click.
right=$((values[19] + 7))
driver sheet-type "$sheet" 3:212 "$right" || fail "cannot type into the Lists page"
[ "${original[6]%%:*}" != 0 ] || fail "the Default skin has no hover picture for its close button"
driver sheet-double-click "$sheet" 2:261 || fail "cannot double-click the close button's hover picture"
[ "$(read_sheet 2:261)" = "[none] " ] || fail "the double-click left the picture"

# Cancel asks; No goes on editing.
press "$sheet" 2
driver wait-box "Are you sure you want to cancel without saving?" 10000 >/dev/null || fail "Cancel did not ask"
driver answer no
sleep 1
driver sheet "$sheet" 1000 >/dev/null || fail "No closed the sheet"
[ "$(read_sheet 3:212 2:261)" = "$right [none] " ] || fail "No lost the edits: $(read_sheet 3:212 2:261)"

# OK, then Cancel in the save dialog: back to the sheet, edits kept.
press "$sheet" 1
press "Save As" 2
sleep 1
[ ! -f "$work/editor-exit" ] || fail "cancelling the save dialog ended the editor"
expect_no_boxes
[ "$(read_sheet 3:212 2:261)" = "$right [none] " ] || fail "the edits were lost: $(read_sheet 3:212 2:261)"

# OK, a name typed in the save dialog: saved, and the editor ends.
press "$sheet" 1
driver save-file "$(winpath "$work/My skin")" || fail "no save dialog to type the name in"
driver wait-box "Skin file was successfully saved." 10000 >/dev/null || fail "no \"Skin file was successfully saved.\""
driver answer ok
expect_editor_exit
mapfile -t saved < <(driver skin-values "$(winpath "$work/My skin")" | tr -d '\r')
[ "${#saved[@]}" = 20 ] || fail "the organiser cannot read the saved skin"
values[19]="$right"
[ "${saved[0]}" = "${values[*]}" ] || fail "saved values ${saved[0]}, expected ${values[*]}"
for slot in $(seq 0 18); do
    want="${original[slot + 1]}"
    [ "$slot" = 5 ] && want="0:00000000"
    [ "${saved[slot + 1]}" = "$want" ] || fail "slot $slot saved as ${saved[slot + 1]}, expected $want"
done
cmp -s "$build/skins/Default" "$work/Default skin" || fail "the skin opened was changed"

# Without a command line: empty fields and previews; Cancel, with nothing
# changed, ends without a question and without writing anything.
before="$(ls "$work")"
start_skinedit
[ "$(read_sheet "${fields[@]}" | tr -d ' ')" = "" ] || fail "an empty start shows values"
[ "$(read_sheet "${previews[@]}")" = "$(printf '[none] %.0s' $(seq 1 19))" ] || fail "an empty start shows pictures"
press "$sheet" 2
expect_editor_exit
[ "$(ls "$work")" = "$before" ] || fail "a cancelled editor wrote files"
