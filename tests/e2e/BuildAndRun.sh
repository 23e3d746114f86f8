#!/usr/bin/env bash
# Build and Run on a real display: a project group, an application and a unit made through the
# add dialog; the unit's header and source (a small program on the toolkit: a form with a label
# and a button whose click operation sets the label's text) read in with Import; Build; Run: the
# program's own window appears, and a press on its button changes its label. Then an error typed
# into an operation's editor; Build fails; a press on the error line in the list under the
# workspace shows that operation's editor with the caret on the line.
# Screenshots of every stage are kept in BUILD_DIR/e2e/BuildAndRun/ (or $QX_SHOTS/BuildAndRun/).
# Usage: BuildAndRun.sh BUILD_DIR   (DISPLAY must name a running X server)
set -euo pipefail
build=$(cd "$1" && pwd)
shots=${QX_SHOTS:-$build/e2e}/BuildAndRun
rm -rf "$shots"
mkdir -p "$shots"
drive=$(mktemp -d)
pid=""
# The program Run started is the environment's child.
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

fail() { echo "BuildAndRun: $1"; shot failed; exit 1; }
shot() { import -window root "$shots/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }
type_text() { xdotool type --delay 40 "$1"; sleep 0.2; }

QXWORKS_DRIVE_C=$drive QXWORKS_TOOLKIT=$build/toolkit SDL_VIDEODRIVER=x11 "$build/qxworks" \
  2>> "$drive/stderr" &
pid=$!
timeout 15 xdotool search --sync --onlyvisible --name '^Qxworks 0\.3\.2$' > /dev/null ||
  fail "the main window did not show: $(cat "$drive/stderr")"
sleep 0.5

# The main window's places, as in Environment.sh.
Add=189 SubAdd=211 Import=411 Build=463 Run=485 ToolY=134
command() { click "${!1}" "$ToolY"; }
row_y() { echo $((156 + 16 * $1)); }
select_row() { click $((150 + 16 * $2)) "$(row_y "$1")"; }
expand_row() { click $((114 + 16 * $2)) "$(row_y "$1")"; }
Group="224 372" App="224 397" Unit="224 472"
add() {  # add COMMAND NAME KIND
  command "$1"
  type_text "$2"
  # shellcheck disable=SC2086
  click ${!3}
}
# The list under the workspace: rows 16 high from y = 624; the bottom box's text below it.
Editor="600 300"

add Add Work Group
select_row 0 0
add SubAdd Demo App
expand_row 0 0
select_row 1 1
add SubAdd Main Unit
expand_row 1 1

# The unit's files, read in by the Import command.
mkdir -p "$drive/Qxe/Work/Demo"
cat > "$drive/Qxe/Work/Demo/Main.h" <<'CPP'
#include "widgets/Button.h"
#include "widgets/Form.h"
#include "widgets/Label.h"

class TDemo {
public:
  CForm* Form;
  CLabel* Shown;
  CButton* Press;
  void Make();
  void PressClick(CControl* sender);
};
CPP
cat > "$drive/Qxe/Work/Demo/Main.cpp" <<'CPP'
#include <cstdio>
#include <memory>
#include "controls/CtrlApp.h"
#include "controls/Text.h"
#include "widgets/WidgetClasses.h"
#include "Main.h"

void TDemo::Make() {
  Form = new CForm(nullptr);
  Form->SetBounds(300, 250, 320, 150, true);
  Form->Caption->Title->Str = "Demo";
  Shown = new CLabel(Form->Client);
  Shown->SetBounds(16, 16, 280, 25, true);
  Shown->Caption->Str = "Not pressed yet";
  Press = new CButton(Form->Client);
  Press->SetBounds(16, 56, 120, 25, true);
  Press->Caption->Str = "Press me";
  Press->OnClick.Set(this, &TDemo::PressClick);
  Form->Invalidate();
}

void TDemo::PressClick(CControl* sender) {
  Shown->Caption->Str = "Pressed";
  Shown->Invalidate();
}

int main() {
  auto app = std::make_unique<CCtrlApp>(WidgetClassRows());
  CtrlApp = app.get();
  TDemo demo;
  demo.Make();
  std::puts("started");
  app->Run();
  delete demo.Form;
  return 0;
}
CPP
select_row 2 2
command Import
kill -0 "$pid" 2>/dev/null || fail "the import ended the environment"
expand_row 2 2
shot 01-imported

# Build: the compiler runs beside the window, which keeps answering.
select_row 4 3
command Build
shot 02-building
select_row 2 2
for _ in $(seq 120); do [ -e "$drive/Qxe/Demo" ] && break; sleep 0.5; done
[ -e "$drive/Qxe/Demo" ] || fail "Build made no program"
sleep 0.5
shot 03-built

# Run: the program's own window, its label changed by a press on its button.
select_row 4 3
command Run
timeout 20 xdotool search --sync --onlyvisible --name '^Demo$' > /dev/null ||
  fail "the program's window did not show"
sleep 1
shot 04-running
label() { import -window root -crop 280x25+320+290 +repage ppm:- | md5sum; }
before=$(label)
click 380 340
sleep 0.5
shot 05-pressed
[ "$before" != "$(label)" ] || fail "the press on the program's button did not change its label"
# Its close button ends it; the list says how it ended.
click 605 261
for _ in $(seq 20); do xdotool search --onlyvisible --name '^Demo$' > /dev/null || break; sleep 0.3; done
sleep 0.5
shot 06-ended
# With no window manager the keyboard stayed with the program's window, which is gone.
xdotool search --name '^Qxworks 0\.3\.2$' windowfocus --sync

# An error typed into main's second line; Build fails and keeps the program.
built=$(stat -c %Y.%N "$drive/Qxe/Demo" 2>/dev/null || stat -c %Y "$drive/Qxe/Demo")
select_row 4 3
click $Editor
xdotool key ctrl+Home Down End
type_text " undeclared_thing();"
select_row 2 2
select_row 4 3
command Build
grep -q undeclared_thing "$drive/Qxe/Work/Demo/build/Main.cpp" ||
  fail "the typed error was not written out"
sleep 6  # the compiler's time; the program's time shows that the build failed
shot 07-failed
[ "$built" = "$(stat -c %Y.%N "$drive/Qxe/Demo" 2>/dev/null || stat -c %Y "$drive/Qxe/Demo")" ] ||
  fail "the failed build replaced the program"

# A press on the error line: main's editor, its caret at the start of the second line, where an X
# typed now lands. Save and the project file tell where it went.
click 600 632
shot 08-error-pressed
type_text "X"
select_row 2 2
Save=159
command Save
click 399 402
"$build/qxtree" dump "$drive/Qxe/Conf.qxe" > "$drive/dump.json"
grep -q 'код\\r\\nX auto app = std::make_unique' "$drive/dump.json" ||
  fail "the caret was not on the error's line: $(grep -a -o "код[^\"]*undeclared_thing" "$drive/dump.json" || ls -l "$drive/Qxe")"
click 885 111
for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after its close button was clicked"
wait "$pid" || fail "exit code $?"
pid=""
echo "BuildAndRun: passed (screenshots in $shots)"
