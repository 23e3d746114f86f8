#!/usr/bin/env bash
# The real qxworks on a display, used as a new user would: through the add dialog a project
# group, an application, a unit, and with SubAdd a class in the unit (its base typed into the
# tuner as CForm) and an operation in the class; code typed into the operation's editor; another
# row pressed and keys typed there, which must not reach the hidden editor; the operation pressed
# again with its code unchanged; an identifier with underscores typed and shown; Save answered
# Yes; the window closed. Started again,
# the same tree is there (qxtree dump of a second Save equals the first). Then the unit is
# imported from a header and a source on drive C:, the imported code is shown in its editor, and
# a button is placed in the form class's designer.
# Screenshots of every stage are kept in BUILD_DIR/e2e/Environment/ (or $QX_SHOTS/Environment/).
# Usage: Environment.sh BUILD_DIR   (DISPLAY must name a running X server)
# The pointer, the keys and screenshots go to $QX_SCREEN_DISPLAY when it is set (see
# StartAndClose.sh).
set -euo pipefail
build=$(cd "$1" && pwd)
session=Environment
# shellcheck source=lib/session.sh
source "$(dirname "$0")/lib/session.sh"

start
shot 01-start
# The desktop's window list names the main window by its title.
xdotool search --name '^Qxworks 0\.3\.2$' > /dev/null || fail "no window titled Qxworks 0.3.2"
add Add Work Group
select_row 0 0
add SubAdd Demo App
expand_row 0 0
select_row 1 1
add SubAdd Main Unit
expand_row 1 1
# The class straight into the unit, the operation straight into the class.
select_row 2 2
add SubAdd TForm1 Class 02-add-dialog
expand_row 2 2
select_row 3 3
add SubAdd Paint Function
select_row 3 3
set_property 2 CForm
select_row 3 3
shot 03-designer
expand_row 3 3
select_row 4 4
click $Editor
type_text "int a = 1;"
person xdotool key Return
type_text "Draw(a);"
shot 04-code-typed
# Another row pressed hides the editor; what is typed now reaches nothing.
select_row 2 2
for _ in $(seq 6); do xdotool key BackSpace; done
type_text "lost"
xdotool key Return  # Delete here would ask to delete the pressed row
select_row 4 4
shot 04-code-kept
# The editor again: an identifier with underscores at the end of the code.
click $Editor
xdotool key ctrl+End End Return
type_text "int my_var = counter_ + __LINE__;"
sleep 0.6
shot 04-underscores
select_row 2 2
command Save
shot 05-save-question
yes
[ -s "$conf" ] || fail "Save wrote no configuration file"
"$build/qxtree" dump "$conf" > "$drive/first.json"
grep -q '"Base": "CForm"' "$drive/first.json" || fail "the class has no base CForm: $(cat "$drive/first.json")"
grep -q 'Draw(a);' "$drive/first.json" || fail "the typed code is not saved"
grep -q 'lost' "$drive/first.json" && fail "keys typed on another row reached the hidden editor"
grep -q 'int a = 1;\\r\\nDraw(a);\\r\\nint my_var = counter_ + __LINE__;' "$drive/first.json" ||
  fail "the code changed while its editor was hidden: $(grep -A2 Paint "$drive/first.json")"
for name in Work Demo Main TForm1 Paint; do
  grep -q "\"name\": \"$name\"" "$drive/first.json" || fail "$name is not saved"
done
close_window

# Started again: the same tree.
start
expand_row 0 0
expand_row 1 1
expand_row 2 2
expand_row 3 3
shot 06-restarted
command Save
yes
"$build/qxtree" dump "$conf" > "$drive/second.json"
cmp -s "$drive/first.json" "$drive/second.json" || fail "the tree read at start-up differs from the saved one"

# Import of the unit from its header and source.
mkdir -p "$drive/Qxe/Work/Demo"
printf 'class TForm1 : public CForm {\npublic:\n  void Paint();\n  int Count;\n};\n' > "$drive/Qxe/Work/Demo/Main.h"
printf 'void TForm1::Paint() {\n  int i = Count;\n  while (i > 0) {\n    Draw(i);\n    i = i - 1;\n  }\n}\n' > "$drive/Qxe/Work/Demo/Main.cpp"
select_row 2 2
command Import
kill -0 "$pid" 2>/dev/null || fail "the import ended the program"
# The unit stays expanded; the imported class is a new row, collapsed.
expand_row 3 3
select_row 4 4
shot 07-imported-code
select_row 3 3
shot 08-designer-before
# The designer's Button tool (the eighteenth, "OK") puts a button at the surface's top-left corner.
before=$(person import -window root -crop 200x120+376+190 +repage ppm:- | md5sum)
click 724 177
shot 09-designer-button
after=$(person import -window root -crop 200x120+376+190 +repage ppm:- | md5sum)
[ "$before" != "$after" ] || fail "no button appeared on the design surface"
command Save
yes
"$build/qxtree" dump "$conf" > "$drive/third.json"
grep -q 'Draw(i);' "$drive/third.json" || fail "the imported code is not saved"
command About
shot 10-about
close_window
echo "Environment: passed (screenshots in $shots)"
