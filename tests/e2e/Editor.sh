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
session=Editor
# shellcheck source=lib/session.sh
source "$(dirname "$0")/lib/session.sh"
key() { person xdotool key "$@"; sleep 0.3; }
# Whether a region (WxH+X+Y) of a kept screenshot holds a pixel of the colour #RRGGBB.
holds() { convert "$shots/$1.png" -crop "$2" +repage txt:- | grep -ci "$3" > /dev/null; }

start
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
yes
[ -s "$conf" ] || fail "Ctrl+S answered Yes wrote no configuration file"
[ "$before" != "$(md5sum < "$conf")" ] || fail "Ctrl+S answered Yes left the file as it was"
"$build/qxtree" dump "$conf" > "$drive/saved.json"
grep -q 'int total = 1;\\r\\nint more = 2;\\r\\n' "$drive/saved.json" ||
  fail "the edited code is not saved: $(grep -A2 Paint "$drive/saved.json")"

close_window
echo "Editor: passed (screenshots in $shots)"
