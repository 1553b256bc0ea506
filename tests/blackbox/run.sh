#!/usr/bin/env bash
# Black-box tests of the organiser: the real velkin.exe under Wine, driven
# from outside by driver.exe as a user would, in a private copy of the Wine
# prefix (its own registry and Application Data folder) on a private Xvfb.
#
#   tests/blackbox/run.sh BUILD_DIR SCENARIO
#
# Scenarios: dpi, first-start, save-and-load, seeded-lists, second-instance,
# start-hidden, close-hides, backup, manage-backups, malformed-list, late-data-folder,
# about-and-help, edit-and-save, drag-and-save, mail-alert, mail-test, skins,
# crash-saves
# (KILLS kills, default 8; CRASH_SEED draws the same kill delays again); those
# in tests/blackbox/scenarios/ (skinedit, the skin editor; install and
# portable, which take the packages of `make dist` from $VELKIN_DIST); and
# screenshots, which writes a PNG of each tab, in the plain look and in the
# Default skin, of Select Skin, and of the skin editor's Window and Tree
# pages, into $VELKIN_SCREENSHOTS (default docs/) for `make screenshots`.
#
# The programs run on a Wine virtual desktop: its tray shows the icon and
# the balloons, which the driver can then read.
set -euo pipefail

if [ "$#" -ne 2 ]; then
    echo "usage: $0 BUILD_DIR SCENARIO" >&2
    exit 2
fi
build="$(cd "$1" && pwd)"
scenario="$2"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
wine_run="$source_dir/scripts/wine-run"
wine_stop="$source_dir/scripts/wine-stop"
lists="$source_dir/tests/data/lists"

for program in velkin.exe blackbox_driver.exe; do
    [ -f "$build/$program" ] || { echo "missing $build/$program" >&2; exit 2; }
done

# The shared prefix is made ready once, then copied: what the organiser
# writes (registry, data folder) stays in the copy.
base_prefix="${VELKIN_WINEPREFIX:-${HOME:-/tmp}/.cache/velkin/wineprefix}"
if [ ! -f "$base_prefix/.velkin-ready" ]; then
    "$wine_run" cmd /c exit >/dev/null 2>&1 || true
fi
work="$(mktemp -d "${TMPDIR:-/tmp}/velkin-blackbox.XXXXXX")"
xvfb_pid=""
smtp_pid=""
cleanup() {
    "$wine_stop" >/dev/null 2>&1 || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    if [ -n "$smtp_pid" ]; then kill "$smtp_pid" 2>/dev/null || true; wait "$smtp_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
cp -a "$base_prefix" "$work/prefix"
export VELKIN_WINEPREFIX="$work/prefix"
# A private Xvfb, whatever display the caller has; the server picks a free
# display number itself, so that scenarios can run side by side.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display" | tr -d '[:space:]')"
export VELKIN_DESKTOP="velkin-blackbox"

# A host path as the programs under Wine see it.
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
velkin_win="$(winpath "$build/velkin.exe")"
driver() { "$wine_run" "$build/blackbox_driver.exe" "$@"; }

fail() {
    echo "FAIL [$scenario]: $*" >&2
    echo "message boxes open:" >&2
    driver boxes >&2 2>/dev/null || true
    exit 1
}
note() { echo "[$scenario] $*"; }

# Wine's crypt32 now and then faults on the first open of a new prefix's
# root store, and its debugger then waits for ever: a bounded try, again.
add_root() {
    local try
    for try in 1 2 3; do
        timeout 60 "$wine_run" "$build/blackbox_driver.exe" add-root "$(winpath "$1")" && return 0
        echo "[$scenario] adding the test's authority failed (try $try)" >&2
    done
    fail "cannot add the test's authority to the roots"
}

# The virtual desktop lives while the driver sleeping on it does.
"$wine_run" explorer "/desktop=$VELKIN_DESKTOP,1024x768" "$build/blackbox_driver.exe" sleep 900000 \
    >/dev/null 2>&1 &

# The Application Data folder of the copy, as a host path.
appdata_win="$(driver appdata | tr -d '\r')"
[ -n "$appdata_win" ] || fail "no Application Data folder"
appdata="$work/prefix/drive_c/$(echo "${appdata_win#C:\\}" | tr '\\' /)"
data="$appdata/Velkin 1.0"
current="$data/current"
rm -rf "$data"
driver forget-settings || fail "could not clear the settings key"

velkin_pid=""
# Starts the organiser (show command 1, as a shell starts it, unless
# SHOW is set) with the given arguments; its exit code lands in $work/exit.
start_velkin() {
    # The window of an instance just ended or killed can outlive its
    # process for a moment; the new one's is the one to wait for.
    driver wait-gone 10000 || fail "the last instance's window is still there"
    rm -f "$work/exit"
    (
        set +e
        driver run "${SHOW:-1}" 120000 "$velkin_win" "$@"
        echo $? >"$work/exit"
    ) &
    velkin_pid=$!
    driver wait-window 60000 >/dev/null ||
        fail "no main window after start ($(organiser_state); boxes: $(driver boxes | tr -d '\r'))"
}

# Waits for the organiser to end and checks its exit code.
expect_exit() {
    local waited
    for waited in $(seq 1 200); do
        [ -f "$work/exit" ] && break
        sleep 0.1
    done
    [ -f "$work/exit" ] || fail "the organiser did not end"
    wait "$velkin_pid" 2>/dev/null || true
    local code
    code="$(cat "$work/exit")"
    [ "$code" = 0 ] || fail "exit code $code, expected 0"
}

# What became of the organiser's process, for a failure's message.
organiser_state() {
    sleep 1
    [ -f "$work/exit" ] && echo "it ended with $(cat "$work/exit")" || echo "it is still running"
}

exit_from_tray() {
    driver command 555 || fail "cannot send Exit: no main window ($(organiser_state))"
    expect_exit
}

# A start that only loads the lists, says nothing, and saves them on Exit.
start_and_exit() {
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    exit_from_tray
}

expect_no_boxes() {
    local open
    open="$(driver boxes | tr -d '\r')"
    [ -z "$open" ] || fail "unexpected message box: $open"
}

# Help opens Velkin.chm in the HTML Help window: its title and the first and
# last entries of its contents come from the compiled file.
expect_help_window() {
    driver command 554 || fail "cannot send Help"
    local shown
    shown="$(driver help-window 20000 | tr -d '\r')" || fail "Help opened no help window"
    case "$shown" in
    "Velkin Help|Velkin Help|"*"|Troubleshooting") note "help window: $shown" ;;
    *) fail "the help window shows: $shown" ;;
    esac
    expect_no_boxes
}

# A program whose folder holds a drawn Default skin starts in its look.
expect_default_skin() {
    local skin="$1/skins/Default"
    [ -f "$skin" ] && [ "$(stat -c %s "$skin")" -gt 2 ] || return 0
    [ "$(driver look | tr -d '\r')" = skinned ] || fail "velkin.exe in $1 did not load its Default skin"
}

tutorial_names=(
    "Mini-Tutorial" "To add a new task, press enter" "To add a subtask, press tab"
    "To activate a task, press space" "To complete a task, press shift"
    "To organize tasks, drag with mouse" "To set properties, double click"
    "Calendar shows due dates in bold" "Hover over dates to see due tasks" "Tasks" "Get Organized!"
)

# The task names of a list file, in file order.
names_of() { tr -d '\r' <"$1" | sed -n 's/^\t*<name>\(.*\)<\/name>$/\1/p'; }

# The Lists task of that name is checked and its link key is the one its
# copy in Active was written with.
expect_linked() {
    local list active list_link active_link
    list="$(tr -d '\r' <"$current/list.xml")"
    active="$(tr -d '\r' <"$current/active.xml")"
    list_link="$(grep -A1 "<name>$1</name>" <<<"$list" | sed -n 's/.*<link>\(.*\)<\/link>/\1/p')"
    active_link="$(grep -A1 "<name>$1</name>" <<<"$active" | sed -n 's/.*<link>\(.*\)<\/link>/\1/p')"
    [ -n "$list_link" ] && [ "$list_link" != 0 ] && [ "$list_link" = "$active_link" ] ||
        fail "$1: link keys differ: list $list_link, active $active_link"
    grep -A2 "<name>$1</name>" <<<"$list" | grep -q '<state>4</state>' || fail "$1: the Lists task is not checked"
}

check_tutorial() {
    local file="$current/list.xml"
    [ -f "$file" ] || fail "list.xml was not saved"
    local expected actual
    expected="$(printf '%s\n' "${tutorial_names[@]}")"
    actual="$(names_of "$file")"
    [ "$actual" = "$expected" ] || fail "tutorial in list.xml differs:\n$actual"
    # Nesting: eight steps under "Mini-Tutorial", one under "Tasks".
    [ "$(grep -c $'^\t\t<name>' "$file")" = 9 ] || fail "tutorial steps are not children"
    [ "$(grep -c $'^\t<name>' "$file")" = 2 ] || fail "tutorial has not two top-level tasks"
}

# Lines of a list file, as the organiser writes them: item DEPTH NAME LINK
# STATE [DUEDATE] opens an item (LINK "-": none), close DEPTH ends it.
month="$(date +%-m)"
year="$(date +%Y)"
item() {
    local tabs=""
    for _ in $(seq 1 "$1"); do tabs="$tabs"$'\t'; done
    local inner="$tabs"$'\t'
    printf '%s\r\n' "$tabs<item>" "$inner<name>$2</name>"
    [ "$3" = "-" ] || printf '%s\r\n' "$inner<link>$3</link>"
    printf '%s\r\n' "$inner<state>$4</state>" "$inner<enterdate>$month-1-$year 9:00</enterdate>"
    [ -z "${5:-}" ] || printf '%s\r\n' "$inner<duedate>$5</duedate>"
}
close() { local tabs=""; for _ in $(seq 1 "$1"); do tabs="$tabs"$'\t'; done; printf '%s\r\n' "$tabs</item>"; }
header() { printf '%s\r\n' '<?xml version="1.0" encoding="Windows-1252"?>' '' '<list version="1.0">'; }
footer() { printf '%s\r\n' '</list>'; }

# A real SMTP server (aiosmtpd, tests/smtp/smtpserver.py) on 127.0.0.1 and
# a port of four digits, with its arguments; its messages land in
# $work/smtp. Stopped by the clean-up.
start_smtp() {
    mkdir -p "$work/smtp"
    /usr/bin/python3 "$source_dir/tests/smtp/smtpserver.py" "$work/smtp" --ports 1025-9999 --parent $$ "$@" \
        >"$work/smtp.log" 2>&1 &
    smtp_pid=$!
    for _ in $(seq 1 300); do
        [ -s "$work/smtp/port" ] && break
        kill -0 "$smtp_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$work/smtp/port" ] || fail "the SMTP server did not start: $(cat "$work/smtp.log")"
    smtp_port="$(tr -d '[:space:]' <"$work/smtp/port")"
}
# "Buy milk", due long ago, with a balloon and an e-mail alert.
write_due_mail_task() {
    mkdir -p "$current"
    printf '%s\r\n' '<?xml version="1.0" encoding="Windows-1252"?>' '' '<list version="1.0">' \
        '<item>' $'\t<name>Tasks</name>' $'\t<link>0</link>' $'\t<state>3</state>' \
        $'\t<item>' $'\t\t<name>Buy milk</name>' $'\t\t<link>0</link>' $'\t\t<state>240</state>' \
        $'\t\t<enterdate>3-1-2008 8:00</enterdate>' $'\t\t<autodate>3-7-2008</autodate>' \
        $'\t\t<autotime>9:05</autotime>' $'\t</item>' '</item>' '</list>' >"$current/list.xml"
}
stop_smtp() {
    if [ -n "$smtp_pid" ]; then kill "$smtp_pid" 2>/dev/null || true; wait "$smtp_pid" 2>/dev/null || true; fi
    smtp_pid=""
    rm -rf "$work/smtp"
}

case "$scenario" in
dpi)
    # The plain look at 96 and at 144 DPI (Wine's LogPixels, read as Wine
    # starts): rows, fonts and check boxes follow the scale, and a first
    # start's window is 250 pixels square at 96 DPI; the Default skin at
    # twice its size; the skin editor's dialogs grown with their font.
    for program in skinedit.exe velkin_win32_tests.exe; do
        [ -f "$build/$program" ] || fail "missing $build/$program"
    done
    plain_sizes() {
        driver forget-settings || fail "could not clear the settings key"
        driver set-skin "$(winpath "$build/skins/Plain")" || fail "cannot store the Plain skin"
        start_velkin
        driver wait-visible 10000 >/dev/null || fail "window not shown"
        expect_no_boxes
        driver sizes | tr -d '\r' || fail "no tree has the focus"
        exit_from_tray
    }
    # The skin editor's sheet, as wide and high as its dialogs make it.
    sheet_size() {
        local rect left top right bottom
        (driver run 1 60000 "$(winpath "$build/skinedit.exe")" >/dev/null 2>&1 || true) &
        driver sheet "Skin Properties" 60000 >/dev/null || fail "no skin editor sheet"
        rect="$(driver rect "Skin Properties" | tr -d '\r')"
        driver click "Skin Properties" 2 >/dev/null || fail "cannot cancel the skin editor"
        wait $! 2>/dev/null || true
        read -r left top right bottom <<<"$rect"
        echo "$((right - left)) $((bottom - top))"
    }
    read -r row96 width96 height96 <<<"$(plain_sizes)"
    read -r sheet_width96 sheet_height96 <<<"$(sheet_size)"
    "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 ||
        fail "cannot set LogPixels"
    "$wine_stop" >/dev/null 2>&1 || true
    "$wine_run" explorer "/desktop=$VELKIN_DESKTOP,1024x768" "$build/blackbox_driver.exe" sleep 900000 \
        >/dev/null 2>&1 &
    read -r row144 width144 height144 <<<"$(plain_sizes)"
    read -r sheet_width144 sheet_height144 <<<"$(sheet_size)"
    note "96 DPI: rows $row96, window $width96 x $height96; 144 DPI: rows $row144, window $width144 x $height144"
    note "the skin editor's sheet: $sheet_width96 x $sheet_height96 at 96 DPI, $sheet_width144 x $sheet_height144 at 144"
    # Dialogs grow with their font, whose letters do not grow exactly by
    # the scale (Wine's Tahoma: 1.37 to 1.41 times), nor does the frame.
    for pair in "$sheet_width96 $sheet_width144" "$sheet_height96 $sheet_height144"; do
        read -r at96 at144 <<<"$pair"
        [ "$at96" -gt 0 ] && [ $((20 * at144)) -ge $((26 * at96)) ] && [ $((20 * at144)) -le $((32 * at96)) ] ||
            fail "the skin editor's sheet is $sheet_width144 x $sheet_height144 at 144 DPI, $sheet_width96 x $sheet_height96 at 96"
    done
    # And every label of its pages still holds its text, measured with the
    # font the page gives it at this scale.
    "$wine_run" "$build/velkin_win32_tests.exe" --gtest_brief=1 \
        --gtest_filter=SkinEditorSheet.EveryLabelFitsItsText >"$work/labels.log" 2>&1 ||
        fail "a label of the skin editor does not fit at 144 DPI: $(grep -A3 Failure "$work/labels.log" | head -20)"
    grep -q "1 test" "$work/labels.log" || fail "the label test did not run: $(tail -5 "$work/labels.log")"
    # The Default skin (264 x 352) at twice its size, its rows as high as
    # its check boxes at that multiple.
    driver forget-settings || fail "could not clear the settings key"
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_default_skin "$build"
    skinned="$(driver sizes | tr -d '\r')"
    exit_from_tray
    [ "$skinned" = "32 528 704" ] || fail "the Default skin at 144 DPI: rows, width, height $skinned"
    [ "$width96" = 250 ] && [ "$height96" = 250 ] || fail "the window at 96 DPI is $width96 x $height96"
    [ "$width144" = 375 ] && [ "$height144" = 375 ] || fail "the window at 144 DPI is $width144 x $height144"
    # 1.5 times the height, give or take a pixel.
    [ "$row96" -gt 0 ] && [ $((2 * row144 - 3 * row96)) -ge -2 ] && [ $((2 * row144 - 3 * row96)) -le 2 ] ||
        fail "rows of $row144 pixels at 144 DPI against $row96 at 96 DPI"
    ;;
first-start)
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    # The balloon's text is read from the shell's tooltip; its title is
    # not (Wine's tooltips leave TTM_GETTITLE unanswered).
    balloon="$(driver balloon "Right Click on the Velkin icon to access the program menu." 15000 | tr -d '\r')" ||
        fail "no tutorial balloon in the tray"
    note "balloon: $(printf '%s' "$balloon" | tr -cd '[:print:]')"
    # No settings yet: the bundled Default skin, 264 x 352, its bottom-right
    # corner one pixel beyond the work area's. Wine's virtual desktop grows
    # its task bar with the first tray icon, after the window was placed:
    # then the corner is the screen's.
    [ "$(driver look | tr -d '\r')" = skinned ] || fail "the first start is not in the Default skin"
    state="$(driver wait-window 1000 | tr -d '\r')"
    read -r _ _ left top right bottom <<<"$state"
    read -r _ _ work_right work_bottom screen_bottom <<<"$(driver workarea | tr -d '\r')"
    [ $((right - left)) = 264 ] && [ $((bottom - top)) = 352 ] || fail "window is not 264 x 352: $state"
    [ "$right" = $((work_right + 1)) ] || fail "window's right edge $right, work area's $work_right"
    [ "$bottom" = $((work_bottom + 1)) ] || [ "$bottom" = $((screen_bottom + 1)) ] ||
        fail "window's bottom edge $bottom, work area's $work_bottom, screen's $screen_bottom"
    exit_from_tray
    check_tutorial
    for file in active.xml done.xml; do
        [ -f "$current/$file" ] || fail "$file was not saved"
    done
    ;;
save-and-load)
    start_velkin
    exit_from_tray
    check_tutorial
    mkdir -p "$work/first"
    cp "$current"/*.xml "$work/first/"
    # The second start loads the saved lists and builds no tutorial: the
    # next save gives the same bytes (stamps included), not a second copy.
    start_and_exit
    for file in list.xml active.xml done.xml; do
        cmp -s "$work/first/$file" "$current/$file" || fail "$file changed across a start without edits"
    done
    ;;
seeded-lists)
    mkdir -p "$current"
    cp "$lists/buy-milk.xml" "$current/list.xml"
    cp "$current/list.xml" "$work/seed.xml"
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    exit_from_tray
    names_of "$current/list.xml" | grep -qx "Mini-Tutorial" && fail "tutorial built over a non-empty list"
    [ "$(names_of "$current/list.xml")" = "$(names_of "$work/seed.xml")" ] || fail "seeded tasks not kept"
    ;;
second-instance)
    start_velkin -autorun
    sleep 1
    driver hidden || fail "-autorun did not start hidden"
    code=0
    driver run 1 20000 "$velkin_win" || code=$?
    [ "$code" = 0 ] || fail "second instance exit code $code, expected 0"
    driver wait-visible 5000 >/dev/null || fail "second start did not show the first window"
    if driver foreground; then note "first window is in the foreground"; else
        note "first window shown; Wine did not report it as the foreground window"; fi
    # A second start with -autorun also shows the window.
    driver message 0x10 0 0 || fail "cannot close"   # WM_CLOSE hides
    sleep 1
    driver hidden || fail "WM_CLOSE did not hide"
    code=0
    driver run 1 20000 "$velkin_win" -autorun || code=$?
    [ "$code" = 0 ] || fail "second instance with -autorun: exit code $code"
    driver wait-visible 5000 >/dev/null || fail "second start with -autorun did not show the window"
    exit_from_tray
    ;;
start-hidden)
    start_velkin x-autorunx
    sleep 2
    driver hidden || fail "'-autorun' inside a word did not start hidden"
    exit_from_tray
    start_velkin -AUTORUN
    driver wait-visible 10000 >/dev/null || fail "'-AUTORUN' in capitals started hidden"
    exit_from_tray
    SHOW=7 start_velkin
    sleep 2
    driver hidden || fail "show command 7 did not start hidden"
    exit_from_tray
    ;;
close-hides)
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    [ -f "$current/list.xml" ] && fail "list.xml exists before any save"
    driver message 0x10 0 0 || fail "cannot close"   # WM_CLOSE
    sleep 1
    driver hidden || fail "closing did not hide the window"
    check_tutorial
    # Escape in the window: hides and saves too; minimising hides.
    driver message 0x6FE5 0 0x201 || fail "cannot click the tray icon"   # WM_LBUTTONDOWN
    driver wait-visible 5000 >/dev/null || fail "tray click did not show the window"
    driver message 0x112 0xF020 0 || fail "cannot minimise"   # WM_SYSCOMMAND SC_MINIMIZE
    sleep 1
    driver hidden || fail "minimising did not hide the window"
    driver wait-window 1000 >/dev/null || fail "the program ended"
    exit_from_tray
    ;;
backup)
    start_velkin -autorun
    # Through the tray menu: its second item, after "Add Task...".
    driver tray-menu escape || fail "the tray menu did not open and close"
    expect_no_boxes
    driver tray-menu down down enter || fail "cannot choose Backup Lists from the tray menu"
    driver wait-box "Backup succeeded!" 10000 >/dev/null || fail "no \"Backup succeeded!\""
    driver answer ok
    sleep 1
    driver hidden || fail "backup showed the window"
    today="$(date +%-m-%-d-%Y)"
    for file in list.xml active.xml done.xml; do
        [ -f "$data/$today/$file" ] || fail "backup folder $today lacks $file"
    done
    names_of "$data/$today/list.xml" | grep -qx "Get Organized!" || fail "backup lacks the tasks"
    exit_from_tray
    ;;
manage-backups)
    start_velkin
    driver command 557 || fail "cannot send Manage Backups"
    text="$(driver wait-box "The program must close to manage backups" 10000 | tr -d '\r')" ||
        fail "no Manage Backups question"
    expected='To revert to a previous state follow these instructions: \n    1. Rename the "current" folder to any other name \n    2. Copy the folder of the desired backup date \n    3. Name the copied folder "current" \n    4. Restart the program \n The program must close to manage backups, do you want to continue?'
    [ "$text" = "$expected" ] || fail "question text differs: $text"
    driver answer no
    sleep 1
    driver wait-window 1000 >/dev/null || fail "No ended the program"
    driver command 557
    driver wait-box "The program must close" 10000 >/dev/null || fail "no question the second time"
    driver answer yes
    expect_exit
    # Ended without saving.
    [ -f "$current/list.xml" ] && fail "Manage Backups saved the lists"
    ;;
malformed-list)
    mkdir -p "$current"
    cp "$lists/truncated.xml" "$current/list.xml"
    cp "$lists/truncated.xml" "$work/original.xml"
    rm -f "$work/exit"
    (
        set +e
        driver run 1 120000 "$velkin_win"
        echo $? >"$work/exit"
    ) &
    velkin_pid=$!
    # The reader's messages come before the window is shown, then the one
    # that says where what was not read is kept.
    seen=0
    told=0
    for attempt in $(seq 1 20); do
        if text="$(driver wait-box "" 3000 | tr -d '\r')"; then
            note "message: $text"
            seen=$((seen + 1))
            case "$text" in *list.unread.xml*) told=1 ;; esac
            driver answer ok
            sleep 0.5
        elif driver wait-visible 100 >/dev/null; then
            break
        fi
    done
    [ "$seen" -gt 0 ] || fail "no message about the malformed list.xml"
    [ "$told" = 1 ] || fail "the start did not say that the lists were not read completely"
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    exit_from_tray
    [ -f "$current/list.unread.xml" ] || fail "the unread list.xml was not kept"
    cmp -s "$current/list.unread.xml" "$work/original.xml" || fail "the kept copy differs from the original"
    names_of "$current/list.xml" | grep -qx "Kept" || fail "the part read was not saved"
    ;;
late-data-folder)
    # The data folder cannot be seen at start-up (a file holds its name, as
    # a network folder connected only after logon would be missing): the
    # tutorial is shown. Then the folder appears with the user's lists; the
    # save at Exit keeps them as *.unread.xml before writing the tutorial.
    printf 'not a folder' >"$data"
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    rm -f "$data"
    mkdir -p "$current"
    cp "$lists/buy-milk.xml" "$current/list.xml"
    cp "$lists/buy-milk.xml" "$work/real.xml"
    driver command 555 || fail "cannot send Exit"
    text="$(driver wait-box "" 20000 | tr -d '\r')" || fail "the save did not say that it kept the lists"
    note "message: $text"
    case "$text" in *list.unread.xml*) ;; *) fail "the message does not name list.unread.xml: $text" ;; esac
    driver answer ok
    expect_exit
    cmp -s "$current/list.unread.xml" "$work/real.xml" || fail "the lists that appeared were not kept"
    check_tutorial
    ;;
about-and-help)
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    driver dialog-hidden About || fail "the About box is not made hidden at start"
    driver command 558 || fail "cannot send About"
    texts="$(driver wait-dialog About 5000 | tr -d '\r')" || fail "About did not show"
    [ "$texts" = "About|About|[icon]|Velkin Version 1.0|OK" ] || fail "About box holds: $texts"
    driver dialog-ok About || fail "cannot press OK"
    sleep 1
    driver dialog-hidden About || fail "OK did not hide the About box"
    # The same from the tray menu: About is its seventh item (separators are
    # stepped over).
    driver tray-menu down down down down down down down enter || fail "cannot choose About from the tray menu"
    driver wait-dialog About 5000 >/dev/null || fail "About from the tray menu did not show"
    driver dialog-ok About
    expect_help_window
    exit_from_tray
    # A program without its help file beside it says so.
    mkdir "$work/bare"
    cp "$build/velkin.exe" "$work/bare/"
    velkin_win="Z:$(echo "$work/bare/velkin.exe" | tr / '\\')"
    start_velkin
    driver command 554 || fail "cannot send Help"
    text="$(driver wait-box "help file could not be found" 10000 | tr -d '\r')" || fail "Help said nothing"
    case "$text" in *'\Velkin.chm') ;; *) fail "Help's message does not name Velkin.chm: $text" ;; esac
    driver answer ok
    exit_from_tray
    ;;
edit-and-save)
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    [ "$(driver focus | tr -d '\r')" = SysTreeView32 ] || fail "the Lists tree does not have the focus"
    # Enter adds a task after the caret ("To add a new task, press enter")
    # and opens its label edit; Enter in the edit names it.
    driver key enter
    [ "$(driver focus | tr -d '\r')" = Edit ] || fail "Enter opened no label edit"
    driver type "Buy stamps"
    driver key enter
    [ "$(driver focus | tr -d '\r')" = SysTreeView32 ] || fail "the edit did not end"
    # Space activates it: a linked copy in Active.
    driver key space
    exit_from_tray
    names_of "$current/list.xml" | sed -n 2,3p | grep -qx "Buy stamps" ||
        fail "the new task is not after the caret: $(names_of "$current/list.xml" | head -4 | tr '\n' /)"
    names_of "$current/active.xml" | grep -qx "Buy stamps" || fail "no linked copy in active.xml"
    expect_linked "Buy stamps"
    # The link survives a restart: loaded, resolved and written again alike.
    mkdir -p "$work/first"
    cp "$current"/*.xml "$work/first/"
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    exit_from_tray
    for file in list.xml active.xml done.xml; do
        cmp -s "$work/first/$file" "$current/$file" || fail "$file changed across a restart"
    done
    ;;
unicode-names)
    # A name in three scripts typed as Unicode input is kept whole: in
    # list.xml as UTF-8 and across a restart.
    name=$'\xC4\x8Caj \xE6\x97\xA5\xE6\x9C\xAC \xE2\x9C\x93'
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    driver key enter
    [ "$(driver focus | tr -d '\r')" = Edit ] || fail "Enter opened no label edit"
    LC_ALL=C.UTF-8 driver type-unicode "$name" || fail "cannot type Unicode input"
    driver sleep 500
    driver key enter
    [ "$(driver selected | tr -d '\r')" = "$name" ] || fail "the tree shows $(driver selected | od -c | head -3)"
    exit_from_tray
    head -1 "$current/list.xml" | grep -q 'encoding="UTF-8"' || fail "list.xml is not declared UTF-8"
    names_of "$current/list.xml" | grep -qxF "$name" || fail "the name is not in list.xml: $(names_of "$current/list.xml" | od -c | head)"
    mkdir -p "$work/first"
    cp "$current"/*.xml "$work/first/"
    start_and_exit
    cmp -s "$work/first/list.xml" "$current/list.xml" || fail "list.xml changed across a restart"
    # A file of an earlier version, in Windows-1252, is saved back as UTF-8.
    printf '%s\r\n' '<?xml version="1.0" encoding="Windows-1252"?>' '' '<list version="1.0">' \
        '<item>' $'\t<name>Caf\xE9 cr\xE8me</name>' $'\t<state>0</state>' '</item>' '</list>' >"$current/list.xml"
    start_and_exit
    names_of "$current/list.xml" | grep -qxF $'Caf\xC3\xA9 cr\xC3\xA8me' ||
        fail "not saved back as UTF-8: $(names_of "$current/list.xml" | od -c | head)"
    # Read in the system's own legacy code page, not always in Windows-1252:
    # on a Czech system 0xE8 is "č" (in Windows-1252 "è"). The system's
    # choice is read from the registry, and from the system locale where the
    # registry says nothing.
    nls='HKLM\SYSTEM\CurrentControlSet\Control\Nls\CodePage'
    legacy_file() {
        printf '%s\r\n' '<?xml version="1.0" encoding="Windows-1252"?>' '' '<list version="1.0">' \
            '<item>' $'\t<name>Caf\xE9 \xE8aj</name>' $'\t<state>0</state>' '</item>' '</list>' >"$current/list.xml"
    }
    czech=$'Caf\xC3\xA9 \xC4\x8Daj'
    "$wine_run" reg add "$nls" /v ACP /t REG_SZ /d 1250 /f >/dev/null 2>&1 || fail "cannot set the code page"
    legacy_file
    start_and_exit
    names_of "$current/list.xml" | grep -qxF "$czech" ||
        fail "not read as Windows-1250: $(names_of "$current/list.xml" | od -c | head)"
    "$wine_run" reg delete "$nls" /v ACP /f >/dev/null 2>&1 || fail "cannot remove the code page value"
    legacy_file
    export VELKIN_WINE_LOCALE=cs_CZ.UTF-8
    start_and_exit
    unset VELKIN_WINE_LOCALE
    names_of "$current/list.xml" | grep -qxF "$czech" ||
        fail "not read in the Czech locale's code page: $(names_of "$current/list.xml" | od -c | head)"
    ;;
drag-and-save)
    mkdir -p "$current"
    # Lists with two linked tasks, one of them with a subtask; their copies
    # in two Active folders.
    {
        header
        item 0 Home 0 3; item 1 "Pay rent" 1 4; item 2 "Bank transfer" 0 0; close 2; close 1
        item 1 "Call the plumber" 0 0; close 1; close 0
        item 0 Work 0 3; item 1 "Quarterly report" 2 4; close 1; close 0
        footer
    } >"$current/list.xml"
    {
        header
        item 0 Today - 7; item 1 "Pay rent" 1 4; close 1; close 0
        item 0 Later - 7; item 1 "Quarterly report" 2 4; close 1; close 0
        footer
    } >"$current/active.xml"
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    [ "$(driver focus | tr -d '\r')" = SysTreeView32 ] || fail "the Lists tree does not have the focus"
    # Into the middle of a folder: first under it, with its subtask; then
    # onto the lower quarter of a task: right after it.
    driver drag "Pay rent" Work middle || fail "cannot drag Pay rent"
    driver drag "Call the plumber" "Quarterly report" lower || fail "cannot drag Call the plumber"
    # In Active: onto the upper quarter of a folder's first task, which puts
    # it first in that folder.
    driver tab 1 || fail "cannot select Active"
    driver drag "Pay rent" "Quarterly report" upper || fail "cannot drag in Active"
    expect_no_boxes
    exit_from_tray
    depth_names() { tr -d '\r' <"$1" | sed -n 's/^\(\t*\)<name>\(.*\)<\/name>$/\1\2/p' | sed 's/\t/>/g' | tr '\n' '/'; }
    [ "$(depth_names "$current/list.xml")" = ">Home/>Work/>>Pay rent/>>>Bank transfer/>>Quarterly report/>>Call the plumber/" ] ||
        fail "list.xml holds $(depth_names "$current/list.xml")"
    [ "$(depth_names "$current/active.xml")" = ">Today/>Later/>>Pay rent/>>Quarterly report/" ] ||
        fail "active.xml holds $(depth_names "$current/active.xml")"
    expect_linked "Pay rent"
    expect_linked "Quarterly report"
    ;;
mail-alert)
    # A task whose moment passed while the program was not running, with
    # its balloon and its e-mail alert; the mail settings point at a real
    # server that offers STARTTLS and takes AUTH PLAIN.
    start_smtp --tls --ca --user alerts --password "pass word"
    note "SMTP server on port $smtp_port"
    # Its certificate is checked: the test's authority becomes a trusted root.
    add_root "$work/smtp/ca.der"
    driver set-text "Mail Server" 127.0.0.1 || fail "cannot set the mail server"
    driver set-text Port "$smtp_port"
    driver set-text Username alerts
    driver set-password alerts "pass word"
    driver set-text "Send To" alerts@example.com
    write_due_mail_task
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    for _ in $(seq 1 300); do
        [ -f "$work/smtp/message-1.json" ] && break
        sleep 0.1
    done
    [ -f "$work/smtp/message-1.json" ] || fail "the server received no alert: $(cat "$work/smtp.log")"
    expected="$(printf 'From: alerts@example.com\r\nTo: alerts@example.com\r\nSubject: Velkin Task Activation: Buy milk\r\nMIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: 7bit\r\n\r\nToday\r\n\tBuy milk\r\n.')"
    received="$(cat "$work/smtp/message-1.eml"; printf .)"
    [ "$received" = "$expected" ] || fail "the alert differs: $(od -c "$work/smtp/message-1.eml" | head -20)"
    envelope="$(cat "$work/smtp/message-1.json")"
    note "envelope: $envelope"
    case "$envelope" in *'"tls": true'*'"auth": "PLAIN"'*) ;; *) fail "not sent over TLS with AUTH PLAIN" ;; esac
    driver balloon "Buy milk" 15000 >/dev/null || fail "no activation balloon"
    expect_no_boxes
    exit_from_tray
    [ ! -f "$work/smtp/message-2.json" ] || fail "a second alert was sent"
    names_of "$current/active.xml" | grep -qx "Buy milk" || fail "the task is not in active.xml"
    # Activated (0x04) and no longer waiting (0x10 cleared): 0xE4.
    grep -A2 $'<name>Buy milk</name>' "$current/list.xml" | grep -q '<state>228</state>' ||
        fail "list.xml does not hold the task activated and done waiting: $(cat "$current/list.xml")"
    ;;
mail-test)
    # An alert that cannot go says why in a balloon, and Settings shows it;
    # then Settings' "Send Test E-mail" against real servers, with the
    # values as the dialog shows them: each outcome in a box, nothing stored.
    driver set-text "Mail Server" 127.0.0.1 || fail "cannot set the mail server"
    driver set-text Port 1
    driver set-text "Send To" alerts@example.com
    write_due_mail_task
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    refused="no connection: 127.0.0.1 refused it or cannot be reached."
    balloon="$(driver balloon "The e-mail alert was not sent" 30000 | tr -d '\r')" || fail "no balloon for the alert not sent"
    # A tooltip hands out its first 80 characters only.
    case "$balloon" in *"|The e-mail alert was not sent: ${refused:0:49}") ;; *) fail "the balloon said: $balloon" ;; esac
    driver command 552 || fail "cannot open Settings"
    texts="$(driver wait-dialog Settings 5000 | tr -d '\r')" || fail "Settings did not show"
    case "$texts" in *"Last e-mail alert, "*": not sent: $refused"*) ;; *) fail "Settings shows: $texts" ;; esac
    set_mail() {  # server port user password
        local id value
        for pair in "218=$1" "219=$2" "223=$3" "224=$4" "226=alerts@example.com"; do
            id="${pair%%=*}" value="${pair#*=}"
            driver dialog-set Settings "$id" "$value" || fail "cannot set control $id"
        done
    }
    test_mail() {  # the box expected
        local box
        driver dialog-press Settings 229 || fail "cannot press Send Test E-mail"
        box="$(driver wait-box "Test e-mail" 30000 | tr -d '\r')" || fail "no box; expected: $1"
        [ "$box" = "$1" ] || fail "the box said: $box; expected: $1"
        note "$box"
        driver answer ok || fail "cannot close the box"
        sleep 1
    }
    sent=$'Test e-mail sent to alerts@example.com.'
    untrusted="Test e-mail not sent: the certificate of 127.0.0.1 is not trusted (not issued to that name by an authority Windows trusts), so nothing was sent."
    start_smtp --tls --ca --user alerts --password "pass word"
    set_mail 127.0.0.1 "$smtp_port" alerts "pass word"
    test_mail "$untrusted"
    [ ! -e "$work/smtp/message-1.eml" ] || fail "a message went to an untrusted server"
    add_root "$work/smtp/ca.der"
    test_mail "$sent"
    case "$(cat "$work/smtp/message-1.json")" in *'"tls": true'*'"auth": "PLAIN"'*) ;; *) fail "not over TLS with AUTH PLAIN" ;; esac
    driver dialog-set Settings 224 "wrong"
    test_mail 'Test e-mail not sent: the server refused the user name or password (it said "535 5.7.8 Authentication credentials invalid").'
    stop_smtp
    test_mail "Test e-mail not sent: $refused"
    # A certificate of the server's own: nothing unless the box is ticked.
    start_smtp --tls --refuse nobody@example.com
    set_mail 127.0.0.1 "$smtp_port" "" ""
    test_mail "$untrusted"
    [ ! -e "$work/smtp/message-1.eml" ] || fail "a message went to a self-signed server"
    driver dialog-check Settings 228 1 || fail "cannot tick Accept any server certificate"
    test_mail "$sent"
    driver dialog-set Settings 226 nobody@example.com
    test_mail 'Test e-mail not sent: the server refused the recipient nobody@example.com (it said "550 5.1.1 <nobody@example.com>: Recipient address rejected").'
    # Cancel: the values tried are not kept.
    driver dialog-press Settings 2 || fail "cannot cancel Settings"
    driver command 552 || fail "cannot open Settings again"
    texts="$(driver wait-dialog Settings 5000 | tr -d '\r')" || fail "Settings did not show again"
    case "$texts" in *nobody@*|*"|$smtp_port|"*) fail "the test's values were stored: $texts" ;; esac
    expect_no_boxes
    exit_from_tray
    ;;
skins)
    # A program folder of its own: the scenario adds a file to its skins.
    app="$work/app"
    mkdir -p "$app"
    cp "$build/velkin.exe" "$app/"
    cp -r "$build/skins" "$app/skins"
    velkin_win="$(winpath "$app/velkin.exe")"
    default_skin="$(winpath "$app/skins/Default")"
    size_is() {  # width height
        local state
        state="$(driver wait-window 1000 | tr -d '\r')"
        read -r _ _ left top right bottom <<<"$state"
        [ $((right - left)) = "$1" ] && [ $((bottom - top)) = "$2" ]
    }
    look_is() { [ "$(driver look | tr -d '\r')" = "$1" ]; }
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    look_is skinned && size_is 264 352 || fail "not in the Default skin"
    # The skin's own tab buttons, clicked.
    driver skin-click "$default_skin" 2 && sleep 1
    [ "$(driver current-tab | tr -d '\r')" = 1 ] || fail "the Active button did not select Active"
    driver skin-click "$default_skin" 4 && sleep 1
    [ "$(driver current-tab | tr -d '\r')" = 3 ] || fail "the Calendar button did not select Calendar"
    # Select Skin: made hidden at start, shown from the tray, listing the
    # skins beside the program.
    driver dialog-hidden "Select Skin" || fail "the Select Skin dialog is not made hidden at start"
    driver command 551 || fail "cannot send Select Skin"
    texts="$(driver wait-dialog "Select Skin" 5000 | tr -d '\r')" || fail "Select Skin did not show"
    [ "$texts" = "Select Skin|Select|Add..." ] || fail "Select Skin holds: $texts"
    listed="$(driver skin-list | tr -d '\r' | tr '\n' ' ')"
    [ "$listed" = "Default Plain Slate " ] || fail "skins listed: $listed"
    [ "$(driver skin-selected | tr -d '\r')" = Default ] || fail "the skin in use is not selected"
    driver skin-choose Plain || fail "cannot choose Plain"
    sleep 1
    look_is plain || fail "Plain did not bring the plain look"
    driver dialog-hidden "Select Skin" || fail "the dialog stayed after Select"
    expect_no_boxes
    exit_from_tray
    # The choice is kept for the next start.
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    look_is plain || fail "the plain look was not kept across a restart"
    # "Add..." copies a file in, chosen in the open-file dialog.
    printf 'not a skin' >"$work/Broken"
    driver command 551 && driver wait-dialog "Select Skin" 5000 >/dev/null || fail "Select Skin did not show"
    driver dialog-press "Select Skin" 257 || fail "cannot press Add..."
    driver open-file "$(winpath "$work/Broken")" || fail "no open-file dialog to choose Broken in"
    sleep 1
    cmp -s "$work/Broken" "$app/skins/Broken" || fail "Add... did not copy the file into the skins folder"
    listed="$(driver skin-list | tr -d '\r' | tr '\n' ' ')"
    [ "$listed" = "Broken Default Plain Slate " ] || fail "skins listed after Add...: $listed"
    driver skin-choose Slate && sleep 1
    look_is skinned && size_is 300 420 || fail "Slate did not apply"
    exit_from_tray
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    look_is skinned && size_is 300 420 || fail "Slate was not kept across a restart"
    # Back to the smaller Default: the window stays in its corner.
    driver command 551 && driver wait-dialog "Select Skin" 5000 >/dev/null || fail "Select Skin did not show"
    [ "$(driver skin-selected | tr -d '\r')" = Slate ] || fail "Slate, in use, is not selected"
    driver skin-choose Default && sleep 1
    look_is skinned && size_is 264 352 || fail "Default did not apply"
    # (The organiser may still see the work area Wine's task bar had before
    # it grew: then the corner is the screen's, as at the first start.)
    read -r _ _ _ _ right bottom <<<"$(driver wait-window 1000 | tr -d '\r')"
    read -r _ _ area_right area_bottom screen_bottom <<<"$(driver workarea | tr -d '\r')"
    [ "$right" = $((area_right + 1)) ] && { [ "$bottom" = $((area_bottom + 1)) ] || [ "$bottom" = $((screen_bottom + 1)) ]; } ||
        fail "Default left the corner: its corner at $right $bottom, the work area's at $area_right $area_bottom"
    exit_from_tray
    ;;
crash-saves)
    # The program killed at a random moment of a save of a large set, KILLS
    # times. Each time the lists on the disk before the save are known, and
    # so are those the same save writes when nothing stops it: the start
    # after the kill must load the one or the other whole (every task in
    # its old state or its new one), without a message, and the next save
    # must leave nothing of the killed one behind.
    kills="${KILLS:-8}"
    seed="${CRASH_SEED:-$((RANDOM * 32768 + RANDOM))}"
    RANDOM="$seed"
    note "$kills kills, seed $seed (CRASH_SEED=$seed draws the same delays again)"
    mkdir -p "$current" "$work/old" "$work/new"
    # "Inbox": 300 activated tasks of 3 steps each, with their copies in
    # Today (so that removing the first moves every link key); 20 more
    # folders of 200 tasks of 3 steps; 2000 completed tasks.
    /usr/bin/python3 - "$current" <<'PY'
import sys
def item(depth, name, link, state, *fields):
    tabs = "\t" * depth
    lines = [tabs + "<item>", tabs + "\t<name>" + name + "</name>"]
    if link is not None:
        lines.append(tabs + "\t<link>%d</link>" % link)
    lines.append(tabs + "\t<state>%d</state>" % state)
    lines.append(tabs + "\t<enterdate>3-7-2008 9:05</enterdate>")
    lines += [tabs + "\t" + field for field in fields]
    return lines
def close(depth):
    return ["\t" * depth + "</item>"]
def write(name, lines):
    head = ['<?xml version="1.0" encoding="Windows-1252"?>', "", '<list version="1.0">']
    with open(sys.argv[1] + "/" + name, "wb") as out:
        out.write(("\r\n".join(head + lines + ["</list>"]) + "\r\n").encode("cp1252"))
lists, active, done = item(0, "Inbox", 0, 3), item(0, "Today", 1, 3), item(0, "Completed", None, 1)
for task in range(1, 301):
    lists += item(1, "Task %d" % task, task + 1, 4, "<activedate>3-7-2008 9:06</activedate>")
    for step in range(1, 4):
        lists += item(2, "Step %d of task %d" % (step, task), 0, 0) + close(2)
    lists += close(1)
    active += item(1, "Task %d" % task, task + 1, 4) + close(1)
lists += close(0)
for folder in range(1, 21):
    lists += item(0, "Folder %d" % folder, 0, 1)
    for task in range(1, 201):
        lists += item(1, "Task %d of folder %d" % (task, folder), 0, 8, "<duedate>4-%d-2008</duedate>" % (task % 28 + 1))
        for step in range(1, 4):
            lists += item(2, "Step %d" % step, 0, 0) + close(2)
        lists += close(1)
    lists += close(0)
for task in range(1, 2001):
    done += item(1, "Done %d" % task, None, 0, "<completedate>3-7-2008 9:07</completedate>") + close(1)
write("list.xml", lists)
write("active.xml", active + close(0))
write("done.xml", done + close(0))
PY
    current_win="$appdata_win\\Velkin 1.0\\current"
    sets=(list.xml active.xml done.xml)
    same_as() { for file in "${sets[@]}"; do cmp -s "$current/$file" "$1/$file" || return 1; done; }
    # The first start writes the set as the program writes it.
    start_velkin
    driver wait-visible 30000 >/dev/null || fail "the large set did not load"
    exit_from_tray
    # Removes the first task of Inbox (with its steps and its copy), as a
    # user would: Down from Inbox, Delete, Yes. The start gives the Lists
    # tree the focus and its first item the caret once the window shows;
    # the keys wait for both, and Delete for the caret on the task.
    remove_first_task() {
        local at=""
        for _ in $(seq 1 100); do
            at="$(driver selected | tr -d '\r')" && [ "$at" = Inbox ] && break
            sleep 0.1
        done
        [ "$at" = Inbox ] || fail "the caret is not on Inbox but on \"$at\""
        driver key down || fail "cannot move to the first task"
        at="$(driver selected | tr -d '\r')"
        [[ "$at" == "Task "* ]] || fail "Down went to \"$at\", not to the first task"
        driver post-key delete || fail "cannot press Delete"
        driver wait-box "permanently delete" 10000 >/dev/null || fail "Delete asked nothing"
        driver answer yes
        for _ in $(seq 1 100); do
            [ -z "$(driver boxes | tr -d '\r')" ] && return
            sleep 0.1
        done
        fail "the question stayed open"
    }
    known_new=0
    declare -A seen=()
    for ((kill = 1; kill <= kills; ++kill)); do
        cp "${sets[@]/#/$current/}" "$work/old/"
        if [ "$known_new" = 0 ]; then
            # The same save, not stopped: what it writes, and how long it takes.
            start_velkin
            driver wait-visible 30000 >/dev/null || fail "no window for the save to know"
            remove_first_task
            read -r _ appeared _ hidden <<<"$(driver close-and-time "$current_win\\list.xml.tmp" | tr -d '\r')"
            driver kill
            wait "$velkin_pid" 2>/dev/null || true
            [ "$appeared" -ge 0 ] && [ "$hidden" -ge "$appeared" ] || fail "the save was not seen: $appeared $hidden"
            note "the save: its first new file after $appeared us, over after $hidden us"
            cp "${sets[@]/#/$current/}" "$work/new/"
            rm -f "$current"/*
            cp "${sets[@]/#/$work/old/}" "$current/"
            known_new=1
        fi
        start_velkin
        driver wait-visible 30000 >/dev/null || fail "kill $kill: no window"
        remove_first_task
        # Half of the kills while the new files are written and moved in
        # (from the first of them on), a quarter while they are moved in
        # (the few milliseconds from the commit record on), a quarter
        # anywhere from the close on.
        case $((RANDOM % 4)) in
        0 | 1)
            delay=$(((RANDOM * 32768 + RANDOM) % (hidden - appeared + 2000)))
            killed="$(driver close-and-kill "$delay" "$current_win\\list.xml.tmp" | tr -d '\r')"
            ;;
        2)
            delay=$(((RANDOM * 32768 + RANDOM) % 3000))
            killed="$(driver close-and-kill "$delay" "$current_win\\lists.journal" | tr -d '\r')"
            ;;
        3)
            delay=$(((RANDOM * 32768 + RANDOM) % (hidden + 1)))
            killed="$(driver close-and-kill "$delay" | tr -d '\r')"
            ;;
        esac
        wait "$velkin_pid" 2>/dev/null || true
        if [ -f "$current/lists.journal" ]; then
            stage="commit record on the disk"
        elif ls "$current"/*.tmp >/dev/null 2>&1; then
            stage="new files being written"
        elif same_as "$work/new"; then
            stage="save over"
        elif same_as "$work/old"; then
            stage="save not begun"
        else
            stage="other"
        fi
        seen[$stage]=$((${seen[$stage]:-0} + 1))
        start_velkin
        driver wait-visible 30000 >/dev/null || fail "kill $kill ($stage, $killed): the restart showed: $(driver boxes)"
        expect_no_boxes
        exit_from_tray
        if same_as "$work/old"; then
            result=old
        elif same_as "$work/new"; then
            result=new
            known_new=0
        else
            for file in "${sets[@]}"; do
                cmp -s "$current/$file" "$work/old/$file" && note "$file is old"
                cmp -s "$current/$file" "$work/new/$file" && note "$file is new"
            done
            rm -rf "$build/crash-saves-failure"
            mkdir -p "$build/crash-saves-failure"
            cp -r "$work/old" "$work/new" "$current" "$build/crash-saves-failure/"
            note "the sets are kept in $build/crash-saves-failure"
            fail "kill $kill ($stage, $killed): the restart loaded neither the old set nor the new one"
        fi
        leftovers="$(ls "$current" | grep -vxE 'list\.xml|active\.xml|done\.xml' || true)"
        [ -z "$leftovers" ] || fail "kill $kill: left behind: $leftovers"
        note "kill $kill after $delay us ($stage, $killed): the $result set"
    done
    for stage in "${!seen[@]}"; do note "${seen[$stage]} kill(s) with the $stage"; done
    [ -z "${seen[other]:-}" ] || fail "a kill left a mix on the disk"
    ;;
screenshots)
    out="${VELKIN_SCREENSHOTS:-$source_dir/docs}"
    mkdir -p "$out" "$current"
    # A small set of lists, with due days in this month for the calendar.
    {
        header
        item 0 "Home" 0 3; item 1 "Pay rent" 1 12 "$month-15-$year"; close 1
        item 1 "Call the plumber" 0 8 "$month-20-$year"; close 1
        item 1 "Water the plants" 0 0; close 1; close 0
        item 0 "Work" 0 3; item 1 "Quarterly report" 2 12 "$month-28-$year"; close 1
        item 1 "Book train tickets" 0 0; close 1
        item 1 "Prepare the workshop" 0 2; item 2 "Slides" 0 0; close 2; item 2 "Room and coffee" 0 0; close 2
        close 1; close 0
        footer
    } >"$current/list.xml"
    {
        header
        item 0 "Pay rent" 1 12 "$month-15-$year"; close 0
        item 0 "Quarterly report" 2 12 "$month-28-$year"; close 0
        footer
    } >"$current/active.xml"
    {
        header
        item 0 "Renew passport" - 0; close 0
        item 0 "Plan the team offsite" - 2; item 1 "Choose a date" - 0; close 1; item 1 "Send invitations" - 0
        close 1; close 0
        footer
    } >"$current/done.xml"
    names=(lists active done calendar)
    shoot() {  # file name [window title; the main window without]
        sleep 1
        if [ -n "${2:-}" ]; then
            read -r left top right bottom <<<"$(driver rect "$2" | tr -d '\r')"
        else
            read -r _ _ left top right bottom <<<"$(driver wait-window 1000 | tr -d '\r')"
        fi
        import -display "$DISPLAY" -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
            "$out/$1"
        note "wrote $out/$1"
    }
    # The plain look (the 2-byte skin), tabs chosen on the tab control.
    driver set-skin "$(winpath "$build/skins/Plain")" || fail "cannot store the Plain skin"
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    [ "$(driver look | tr -d '\r')" = plain ] || fail "not in the plain look"
    for index in 0 1 2 3; do
        driver tab "$index" || fail "cannot select tab $index"
        shoot "tab-${names[$index]}.png"
    done
    exit_from_tray
    # The Default skin, tabs chosen with its own buttons.
    driver forget-settings || fail "could not clear the settings key"
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    [ "$(driver look | tr -d '\r')" = skinned ] || fail "not in the Default skin"
    for index in 0 1 2 3; do
        driver skin-click "$(winpath "$build/skins/Default")" $((index + 1)) || fail "cannot click tab button $index"
        # The pointer leaves the buttons, so that none shows its hover.
        driver message 0x2A3 0 0  # WM_MOUSELEAVE
        shoot "skin-${names[$index]}.png"
    done
    # Select Skin, which shows the skin in use selected.
    driver command 551 && driver wait-dialog "Select Skin" 5000 >/dev/null || fail "Select Skin did not show"
    shoot select-skin.png "Select Skin"
    exit_from_tray
    # The skin editor on the Default skin, on its Window page; then
    # cancelled, which asks nothing: nothing was changed.
    driver run 1 60000 "$(winpath "$build/skinedit.exe")" "\"$(winpath "$build/skins/Default")\"" &
    editor_pid=$!
    driver sheet "Skin Properties" 30000 >/dev/null || fail "the skin editor shows no sheet"
    shoot skinedit-window.png "Skin Properties"
    driver sheet-page "Skin Properties" 1 || fail "cannot show the Tree page"
    shoot skinedit-tree.png "Skin Properties"
    driver click "Skin Properties" 2 || fail "cannot press Cancel"
    wait "$editor_pid"
    ;;
*)
    # Scenarios of their own file, with the helpers above.
    [ -f "$source_dir/tests/blackbox/scenarios/$scenario.sh" ] || { echo "unknown scenario $scenario" >&2; exit 2; }
    # shellcheck source=/dev/null
    . "$source_dir/tests/blackbox/scenarios/$scenario.sh"
    ;;
esac
note "passed"
