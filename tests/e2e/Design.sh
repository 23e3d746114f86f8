#!/usr/bin/env bash
# A form designed on the real display lasts: a form class gets a label, an edit and two buttons
# whose texts are set in the tuner; Save; the environment is closed and started again; the class
# pressed shows the same design with its texts; the class cut and pasted into another unit takes
# its design along; a double press on a button opens its click operation's code editor.
# Screenshots of every stage are kept in BUILD_DIR/e2e/Design/ (or $QX_SHOTS/Design/).
# Usage: Design.sh BUILD_DIR   (DISPLAY must name a running X server)
set -euo pipefail
build=$(cd "$1" && pwd)
session=Design
# shellcheck source=lib/session.sh
source "$(dirname "$0")/lib/session.sh"

surface() { person import -window root -crop 420x300+376+191 +repage "$1"; }

start
shot 01-start
add Add Login Unit
add Add Other Unit
select_row 0 0
add SubAdd TLogin Class
expand_row 0 0
select_row 1 1
set_property 2 CForm
select_row 1 1
shot 02-designer
place LabelTool 8 Name 18 18
place EditTool 8 Guest 90 18
place ButtonTool 9 Login 18 90
place ButtonTool 9 Cancel 90 90
deselect
shot 03-designed
surface "$drive/designed.png"
command Save
yes
"$build/qxtree" dump "$conf" > "$drive/first.json"
for text in 'CLabel Label1 rect=18,18,68,68 ' 'text=\"Name\"' 'CEdit Edit1 rect=90,18,140,68 ' \
  'text=\"Guest\"' 'CButton Button1 rect=18,90,68,140 ' 'text=\"Login\"' \
  'CButton Button2 rect=90,90,140,140 ' 'text=\"Cancel\"'; do
  grep -qF "$text" "$drive/first.json" || fail "the saved design lacks $text: $(cat "$drive/first.json")"
done
"$build/qxtree" check "$conf" > /dev/null || fail "qxtree check refuses the saved design"
close_window

# Started again: the class pressed shows the same design, texts and all.
start
expand_row 0 0
select_row 1 1
deselect
shot 04-restarted
surface "$drive/restarted.png"
differ=$(compare -metric AE "$drive/designed.png" "$drive/restarted.png" null: 2>&1 || true)
[ "$differ" = 0 ] || fail "the design after a new start differs from the one saved ($differ pixels)"

# Cut, and pasted into the other unit: the design follows the class.
command Cut
select_row 2 0
command SubPaste
deselect
shot 05-pasted
surface "$drive/pasted.png"
differ=$(compare -metric AE "$drive/designed.png" "$drive/pasted.png" null: 2>&1 || true)
[ "$differ" = 0 ] || fail "the design pasted into the other unit differs ($differ pixels)"

# A double press on the first button: its click operation is made and its code editor opens.
person xdotool mousemove 419 306 click --repeat 2 --delay 80 1
sleep 0.6
shot 06-click-operation
command Save
yes
"$build/qxtree" dump "$conf" > "$drive/second.json"
grep -q '"name": "Button1Click"' "$drive/second.json" || fail "no click operation was made: $(cat "$drive/second.json")"
grep -qF 'click=\"Button1Click\"' "$drive/second.json" || fail "the design does not name the click operation"
close_window
echo "Design: passed (screenshots in $shots)"
