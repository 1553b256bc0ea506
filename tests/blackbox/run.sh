#!/usr/bin/env bash
# Black-box tests of the organiser: the real velkin.exe under Wine, driven
# from outside by driver.exe as a user would, in a private copy of the Wine
# prefix (its own registry and Application Data folder) on a private Xvfb.
#
#   tests/blackbox/run.sh BUILD_DIR SCENARIO
#
# Scenarios: first-start, save-and-load, seeded-lists, second-instance,
# start-hidden, close-hides, backup, manage-backups, malformed-list,
# about-and-help, edit-and-save, crash-saves (KILLS kills, default 8;
# CRASH_SEED draws the same kill delays again); and
# screenshots, which writes a PNG of each tab into $VELKIN_SCREENSHOTS
# (default docs/) for `make screenshots`.
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
cleanup() {
    "$wine_stop" >/dev/null 2>&1 || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
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

velkin_win="Z:$(echo "$build/velkin.exe" | tr / '\\')"
driver() { "$wine_run" "$build/blackbox_driver.exe" "$@"; }

fail() {
    echo "FAIL [$scenario]: $*" >&2
    echo "message boxes open:" >&2
    driver boxes >&2 2>/dev/null || true
    exit 1
}
note() { echo "[$scenario] $*"; }

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
    rm -f "$work/exit"
    (
        set +e
        driver run "${SHOW:-1}" 120000 "$velkin_win" "$@"
        echo $? >"$work/exit"
    ) &
    velkin_pid=$!
    driver wait-window 20000 >/dev/null || fail "no main window after start"
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

exit_from_tray() {
    driver command 555 || fail "cannot send Exit"
    expect_exit
}

expect_no_boxes() {
    local open
    open="$(driver boxes | tr -d '\r')"
    [ -z "$open" ] || fail "unexpected message box: $open"
}

tutorial_names=(
    "Mini-Tutorial" "To add a new task, press enter" "To add a subtask, press tab"
    "To activate a task, press space" "To complete a task, press shift"
    "To organize tasks, drag with mouse" "To set properties, double click"
    "Calendar shows due dates in bold" "Hover over dates to see due tasks" "Tasks" "Get Organized!"
)

# The task names of a list file, in file order.
names_of() { tr -d '\r' <"$1" | sed -n 's/^\t*<name>\(.*\)<\/name>$/\1/p'; }

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

case "$scenario" in
first-start)
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    # The balloon's text is read from the shell's tooltip; its title is
    # not (Wine's tooltips leave TTM_GETTITLE unanswered).
    balloon="$(driver balloon "Right Click on the Velkin icon to access the program menu." 15000 | tr -d '\r')" ||
        fail "no tutorial balloon in the tray"
    note "balloon: $(printf '%s' "$balloon" | tr -cd '[:print:]')"
    # No settings yet: 250 x 250 in the work area's bottom-right corner.
    # Wine's virtual desktop grows its task bar with the first tray icon,
    # after the window was placed: then the corner is the screen's.
    state="$(driver wait-window 1000 | tr -d '\r')"
    read -r _ _ left top right bottom <<<"$state"
    read -r _ _ work_right work_bottom screen_bottom <<<"$(driver workarea | tr -d '\r')"
    [ $((right - left)) = 250 ] && [ $((bottom - top)) = 250 ] || fail "window is not 250 x 250: $state"
    [ "$right" = "$work_right" ] || fail "window's right edge $right, work area's $work_right"
    [ "$bottom" = "$work_bottom" ] || [ "$bottom" = "$screen_bottom" ] ||
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
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    exit_from_tray
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
    # Through the tray menu: its first item.
    driver tray-menu escape || fail "the tray menu did not open and close"
    expect_no_boxes
    driver tray-menu down enter || fail "cannot choose Backup Lists from the tray menu"
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
    # The reader's messages come before the window is shown.
    seen=0
    for attempt in $(seq 1 20); do
        if text="$(driver wait-box "" 3000 | tr -d '\r')"; then
            note "message: $text"
            seen=$((seen + 1))
            driver answer ok
            sleep 0.5
        elif driver wait-visible 100 >/dev/null; then
            break
        fi
    done
    [ "$seen" -gt 0 ] || fail "no message about the malformed list.xml"
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    exit_from_tray
    [ -f "$current/list.unread.xml" ] || fail "the unread list.xml was not kept"
    cmp -s "$current/list.unread.xml" "$work/original.xml" || fail "the kept copy differs from the original"
    names_of "$current/list.xml" | grep -qx "Kept" || fail "the part read was not saved"
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
    # The same from the tray menu: About is its fifth item (separators are
    # stepped over).
    driver tray-menu down down down down down enter || fail "cannot choose About from the tray menu"
    driver wait-dialog About 5000 >/dev/null || fail "About from the tray menu did not show"
    driver dialog-ok About
    # There is no help file beside the program: Help says so.
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
    list="$(tr -d '\r' <"$current/list.xml")"
    active="$(tr -d '\r' <"$current/active.xml")"
    names_of "$current/list.xml" | sed -n 2,3p | grep -qx "Buy stamps" ||
        fail "the new task is not after the caret: $(names_of "$current/list.xml" | head -4 | tr '\n' /)"
    names_of "$current/active.xml" | grep -qx "Buy stamps" || fail "no linked copy in active.xml"
    list_link="$(grep -A1 $'<name>Buy stamps</name>' <<<"$list" | sed -n 's/.*<link>\(.*\)<\/link>/\1/p')"
    active_link="$(grep -A1 $'<name>Buy stamps</name>' <<<"$active" | sed -n 's/.*<link>\(.*\)<\/link>/\1/p')"
    [ -n "$list_link" ] && [ "$list_link" != 0 ] && [ "$list_link" = "$active_link" ] ||
        fail "link keys differ: list $list_link, active $active_link"
    grep -A2 $'<name>Buy stamps</name>' <<<"$list" | grep -q '<state>4</state>' || fail "the Lists task is not checked"
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
    month="$(date +%-m)"
    year="$(date +%Y)"
    item() {  # depth name link state [duedate]
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
    start_velkin
    driver wait-visible 10000 >/dev/null || fail "window not shown"
    expect_no_boxes
    display="$DISPLAY"
    names=(lists active done calendar)
    for index in 0 1 2 3; do
        driver tab "$index" || fail "cannot select tab $index"
        sleep 1
        read -r _ _ left top right bottom <<<"$(driver wait-window 1000 | tr -d '\r')"
        import -display "$display" -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
            "$out/tab-${names[$index]}.png"
        note "wrote $out/tab-${names[$index]}.png"
    done
    exit_from_tray
    ;;
*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
note "passed"
