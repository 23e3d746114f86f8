#!/usr/bin/env bash
# The code editor on a display, used as a person would: code typed into an operation's editor, a
# word selected with a double press, copied, pasted twice on the next line, the second paste undone,
# the keyword at the start of the line shown in the keywords' navy; then the tree's row pressed
# (the code goes back to the operation) and Ctrl+S answered Yes, which writes the code to the
# file. On the way the pointer rests on the Save button and its hint box shows.
# Screenshots are kept in BUILD_DIR/e2e/Editor/ (or $QX_SHOTS/Editor/).
# Usage: Editor.sh BUILD_DIR   (DISPLAY must name a running X server)
set -euo pipefail
build=$(cd "$1" && pwd)
shots=${QX_SHOTS:-$build/e2e}/Editor
rm -rf "$shots"
mkdir -p "$shots"
drive=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$drive"; }
trap cleanup EXIT
mkdir -p "$drive/Qxe/Pics"
cp -r "$build/pics/." "$drive/Qxe/Pics/"
conf=$drive/Qxe/Conf.qxe

fail() { echo "Editor: $1"; shot failed; exit 1; }
person() { DISPLAY=${QX_SCREEN_DISPLAY:-$DISPLAY} "$@"; }
shot() { person import -window root "$shots/$1.png"; }
click() { person xdotool mousemove "$1" "$2" click 1; sleep 0.4; }
type_text() { person xdotool type --delay 40 "$1"; sleep 0.2; }
key() { person xdotool key "$@"; sleep 0.3; }
# Whether a region (WxH+X+Y) of a kept screenshot holds a pixel of the colour #RRGGBB.
holds() { convert "$shots/$1.png" -crop "$2" +repage txt:- | grep -ci "$3" > /dev/null; }

QXWORKS_DRIVE_C=$drive SDL_VIDEODRIVER=x11 "$build/qxworks" 2>> "$drive/stderr" &
pid=$!
sleep 1.5
kill -0 "$pid" 2>/dev/null || fail "qxworks did not start: $(cat "$drive/stderr")"
timeout 15 xdotool search --sync --onlyvisible --name '^Qxworks 0\.3\.2$' > /dev/null ||
  fail "the main window did not show"
sleep 0.3

# The main window at (100, 100); the toolbar's middles, the tree's rows and the add dialog's
# kinds as in Environment.sh.
Add=189 SubAdd=211 Save=159 ToolY=134
row_y() { echo $((156 + 16 * $1)); }
select_row() { click $((150 + 16 * $2)) "$(row_y "$1")"; }
expand_row() { click $((114 + 16 * $2)) "$(row_y "$1")"; }
Group="224 372" App="224 397" Unit="224 472" Class="374 472" Function="374 397"
add() {  # add COMMAND NAME KIND
  click "${!1}" "$ToolY"
  type_text "$2"
  # shellcheck disable=SC2086
  click ${!3}
}
add Add Work Group
select_row 0 0
add SubAdd Demo App
expand_row 0 0
select_row 1 1
add SubAdd Main Unit
expand_row 1 1
select_row 2 2
add SubAdd TForm1 Class
expand_row 2 2
select_row 3 3
add SubAdd Paint Function
expand_row 3 3

# The hint of Save, after the pointer has rested on it: a pale yellow box below the toolbar.
person xdotool mousemove "$Save" "$ToolY"
sleep 1.2
shot 01-save-hint
holds 01-save-hint 200x30+140+146 '#FFFFE0' || fail "no hint box below the Save button"

# The editor's text starts at (408, 172), right of the line numbers; its lines are 13 high.
select_row 4 4
click 600 300
type_text "int total = 1;"
key Return
shot 02-typed
# A double press on the first word selects it: "int".
person xdotool mousemove 413 178 click --repeat 2 --delay 80 1
sleep 0.4
shot 03-word-selected
key ctrl+c ctrl+End ctrl+v ctrl+v
shot 04-pasted-twice
key ctrl+z
type_text " more = 2;"
# No selection is left, so the keyword at the start of the second line shows in navy.
person xdotool mousemove 700 500
sleep 0.6
shot 05-keyword
holds 05-keyword 30x12+407+186 '#000080' || fail "the keyword of the second line is not navy"

select_row 3 3
before=none
[ -e "$conf" ] && before=$(md5sum < "$conf")
person xdotool mousemove 600 300
key ctrl+s
shot 06-save-question
click 399 402
[ -s "$conf" ] || fail "Ctrl+S answered Yes wrote no configuration file"
[ "$before" != "$(md5sum < "$conf")" ] || fail "Ctrl+S answered Yes left the file as it was"
"$build/qxtree" dump "$conf" > "$drive/saved.json"
grep -q 'int total = 1;\\r\\nint more = 2;\\r\\n' "$drive/saved.json" ||
  fail "the edited code is not saved: $(grep -A2 Paint "$drive/saved.json")"

click 885 111
for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after its close button was clicked"
wait "$pid" || fail "exit code $?"
pid=""
echo "Editor: passed (screenshots in $shots)"
