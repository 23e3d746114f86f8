#!/usr/bin/env bash
# Build and Run on a real display, with a program made only through the window: a project group,
# an application, a unit and a form class whose base is typed into the tuner; a label and a button
# placed on the designer's surface, their texts set in the tuner; a double press on the button
# makes its click operation, whose body, typed into the code editor, sets the label's text. Build;
# Run: the program's own window shows the label and the button, and a press on its button changes
# the label. Then an error typed into the click operation; Build fails and keeps the program; a
# press on the error line in the list under the workspace shows that operation's editor with the
# caret on the line.
# Screenshots of every stage are kept in BUILD_DIR/e2e/BuildAndRun/ (or $QX_SHOTS/BuildAndRun/).
# Usage: BuildAndRun.sh BUILD_DIR   (DISPLAY must name a running X server)
set -euo pipefail
build=$(cd "$1" && pwd)
session=BuildAndRun
# shellcheck source=lib/session.sh
source "$(dirname "$0")/lib/session.sh"

program=$drive/Qxe/Demo
# Until the compilers and the linker Build started beside the window (the environment's children,
# one after another) have ended: two seconds without one.
wait_for_compiler() {
  local quiet=0
  for _ in $(seq 240); do
    if pgrep -P "$pid" > /dev/null; then quiet=0; else quiet=$((quiet + 1)); fi
    [ "$quiet" -lt 4 ] || break
    sleep 0.5
  done
}

start
add Add Work Group
select_row 0 0
add SubAdd Demo App
expand_row 0 0
select_row 1 1
add SubAdd Main Unit
expand_row 1 1
select_row 2 2
add SubAdd TDemo Class
expand_row 2 2
select_row 3 3
set_property 2 CForm
select_row 3 3
shot 01-designer

# The label at (18, 18) and the button at (18, 90) of the form's face.
place LabelTool 8 Wait 18 18
place ButtonTool 9 Press 18 90
deselect
shot 02-designed
# A double press on the button: its click operation, made and opened in the code editor.
person xdotool mousemove 419 306 click --repeat 2 --delay 80 1
sleep 0.6
shot 03-click-operation
click $Editor
person xdotool key ctrl+End
type_text 'Label1->Caption->Str = "Done"_cp;'
person xdotool key Return
type_text 'Label1->Invalidate();'
shot 04-typed
# Another row takes the code into the operation.
select_row 3 3

# Build: the compiler runs beside the window.
command Build
shot 05-building
for _ in $(seq 240); do [ -e "$program" ] && break; sleep 0.5; done
[ -e "$program" ] || fail "Build made no program: $(ls "$drive/Qxe/Work/Demo/build" 2>&1)"
sleep 0.5
shot 06-built

# Run: the program's own window, titled by its class, at (100, 100) over the environment's; its
# face starts at (104, 122), so the label stands at (122, 140) and the button's middle at
# (147, 237).
command Run
timeout 30 xdotool search --sync --onlyvisible --name '^TDemo$' > /dev/null ||
  fail "the program's window did not show"
sleep 1
shot 07-running
label() { person import -window root -crop 50x50+122+140 +repage ppm:- | md5sum; }
before=$(label)
click 147 237
sleep 0.5
shot 08-pressed
[ "$before" != "$(label)" ] || fail "the press on the program's button did not change its label"
# Its close button ends it; the list says how it ended (09-ended). The window is the design's
# default 400 by 300 face with its border, so its right edge is at x = 508; the button ends 15
# units before it, as the environment's own does.
click 493 111
for _ in $(seq 20); do xdotool search --onlyvisible --name '^TDemo$' > /dev/null || break; sleep 0.3; done
xdotool search --onlyvisible --name '^TDemo$' > /dev/null && fail "the program's close button did not end it"
sleep 0.5
shot 09-ended
# With no window manager the keyboard stayed with the program's window, which is gone.
xdotool search --name '^Qxworks 0\.3\.2$' windowfocus --sync

# An error typed at the end of the click operation's second line; Build fails and keeps the
# program.
built=$(stat -c %i.%.9Y "$program")
select_row 4 3
click $Editor
person xdotool key ctrl+End
type_text " undeclared_thing();"
select_row 3 3
command Build
wait_for_compiler
grep -q undeclared_thing "$drive/Qxe/Work/Demo/build/Main.cpp" || fail "the typed error was not written out"
shot 10-failed
[ "$built" = "$(stat -c %i.%.9Y "$program")" ] || fail "the failed build replaced the program"

# A press on the error line: the click operation selected and its editor shown, the caret on the
# error's line, where an X typed now lands. Save and the project file tell where it went.
click 600 632
shot 11-error-pressed
type_text "X"
select_row 3 3
command Save
yes
"$build/qxtree" dump "$conf" > "$drive/dump.json"
grep -qF '"Code": "Label1->Caption->Str = \"Done\"_cp;\r\nXLabel1->Invalidate(); undeclared_thing();' \
  "$drive/dump.json" ||
  fail "the caret was not on the error's line: $(grep -a -o '"Code": "[^"]*\\"Done[^}]*' "$drive/dump.json")"
close_window
echo "BuildAndRun: passed (screenshots in $shots)"
