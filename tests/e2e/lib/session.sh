# Sourced by the end-to-end sessions that drive the real qxworks like a person: a drive of their
# own with the pictures, starting the program on the display, screenshots, the pointer and keys
# through xdotool, where the main window's parts stand and how a control is placed in the
# designer. The sourcing script sets $build (the build folder) and $session (its name: the
# screenshots' folder, the prefix of a failure).
shots=${QX_SHOTS:-$build/e2e}/$session
rm -rf "$shots"
mkdir -p "$shots"
drive=$(mktemp -d)
pid=""
# A program the environment's Run started is its child: it goes too.
cleanup() {
  if [ -n "$pid" ]; then
    for child in $(pgrep -P "$pid" || true); do kill "$child" 2>/dev/null || true; done
    kill "$pid" 2>/dev/null || true
  fi
  rm -rf "$drive"
}
trap cleanup EXIT
mkdir -p "$drive/Qxe/Pics"
cp -r "$build/pics/." "$drive/Qxe/Pics/"
conf=$drive/Qxe/Conf.qxe

fail() { echo "$session: $1"; shot failed; exit 1; }
person() { DISPLAY=${QX_SCREEN_DISPLAY:-$DISPLAY} "$@"; }
shot() { person import -window root "$shots/$1.png"; }
start() {
  QXWORKS_DRIVE_C=$drive SDL_VIDEODRIVER=x11 "$build/qxworks" 2>> "$drive/stderr" &
  pid=$!
  sleep 1.5
  kill -0 "$pid" 2>/dev/null || fail "qxworks did not start: $(cat "$drive/stderr")"
  # On a busy machine the window may take longer to show; presses before it would be lost.
  timeout 15 xdotool search --sync --onlyvisible --name '^Qxworks 0\.3\.2$' > /dev/null ||
    fail "the main window did not show"
  sleep 0.3
}
# With no window manager the keyboard follows the pointer, which stays over the window.
# The pointer settles before the press: a compositor may pass the two on apart.
click() { person xdotool mousemove "$1" "$2"; sleep 0.1; person xdotool click 1; sleep 0.4; }
type_text() { person xdotool type --delay 40 "$1"; sleep 0.2; }

# The main window stands at (100, 100), 800 by 600; its face starts at (104, 122). The toolbar's
# buttons are 20 wide, 2 apart, with 8 more after a separator; their middles:
New=115 Open=137 Save=159 Add=189 SubAdd=211 Delete=233 Up=263 Down=285 Cut=315 Copy=337
Paste=359 SubPaste=381 Import=411 Clear=433 Build=463 Run=485 About=515
ToolY=134
command() { click "${!1}" "$ToolY"; }
# The question's Yes: the message dialog stands at (200, 200) of the main window.
yes() { click 399 402; }
# The tree's rows are 16 high from y = 148; a row's caption starts 16 per level further right, and
# its expand box lies at 8 + 16 * level from x = 106.
row_y() { echo $((156 + 16 * $1)); }
select_row() { click $((150 + 16 * $2)) "$(row_y "$1")"; }
expand_row() { click $((114 + 16 * $2)) "$(row_y "$1")"; }
# The add dialog stands at (100, 100) of the main window: its name edit, and the kinds' buttons.
Group="224 372" App="224 397" Unit="224 472" Class="374 472" Function="374 397"
# The dialog opens with the last name all selected: the new name is typed over it straight away.
add() {  # add COMMAND NAME KIND [SHOT]
  command "$1"
  [ -z "${4:-}" ] || shot "$4-opened"
  type_text "$2"
  [ -z "${4:-}" ] || shot "$4"
  # shellcheck disable=SC2086
  click ${!3}
}
# The tuner's rows start at y = 421 (16 high); the value editor opens on a pressed row.
set_property() {  # set_property ROW TEXT
  click 140 $((429 + 16 * $1))
  type_text "$2"
  person xdotool key Return
  sleep 0.3
}
# The code editor fills the workspace; its text starts at (379, 172).
Editor="600 300"

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

# The window's close button: the program must end, and with exit code 0.
close_window() {
  click 885 111
  for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "still running after its close button was clicked"
  wait "$pid" || fail "exit code $?"
  pid=""
}
