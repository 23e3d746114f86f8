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

# The designer covers the workspace: its tools' middles lie on y = 177, the Label tool's at
# x = 686, the Button's at 724, the Edit's at 743; a new control lies at the surface's top-left
# corner, (376, 191), 50 by 50.
ToolsY=177 LabelTool=686 ButtonTool=724 EditTool=743
New="401 216"
# The tuner's composite rows open expanded; a press on a row's box closes it (and selects it).
collapse() { click 114 $((429 + 16 * $1)); }
# A new control, pressed to show it in the tuner: with its corner rows, anchors and face closed,
# its text is row 8 (9 for a button, whose picture's file comes first). Every value taken lists
# the rows anew, open: the control is then moved by its corner's Y (row 3) and X (row 2).
place() {  # place TOOL TEXT_ROW TEXT X Y
  click "${!1}" "$ToolsY"
  # shellcheck disable=SC2086
  click $New
  collapse 1; collapse 2; collapse 4; collapse 7
  replace_property "$2" "$3"
  replace_property 3 "$5"
  replace_property 2 "$4"
}
# The value editor opens with the caret after the value: what is typed there is added to it, so
# the old value is rubbed out first.
replace_property() {  # replace_property ROW TEXT
  click 140 $((429 + 16 * $1))
  person xdotool key End
  for _ in $(seq 8); do person xdotool key BackSpace; done
  type_text "$2"
  person xdotool key Return
  sleep 0.3
}
# A press on the bare surface: nothing selected, no handles drawn.
deselect() { click 800 560; }
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
