#!/usr/bin/env bash
# Qxworks installed as a user installs it: `cmake --install` into a fresh prefix puts the
# programs, the pictures, a valid desktop entry and the icon in every size in place; the installed
# qxworks, started with an empty drive C:, fills its Pics from the installed pictures, shows them
# on its toolbar and ends with exit code 0 when its close button is clicked. The toolkit installed
# beside it builds a program of its own through CMake's find_package(Qxworks), which runs on the
# display and presses its own button.
# Usage: Installed.sh BUILD_DIR   (DISPLAY must name a running X server)
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "Installed: $1"; exit 1; }
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" > "$work/install.log" ||
  fail "cmake --install failed: $(cat "$work/install.log")"
for program in qxworks qxtree qxpics qxgallery qxscene qxdesigner; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
done

entry=$prefix/share/applications/qxworks.desktop
[ -f "$entry" ] || fail "no desktop entry"
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
grep -qx "Exec=\"$prefix/bin/qxworks\"" "$entry" || fail "Exec does not name the installed program"
grep -qx 'Name\[ru\]=.*' "$entry" && grep -qx 'GenericName\[ru\]=.*' "$entry" ||
  fail "no Russian name"
grep -qx 'Categories=Development;IDE;' "$entry" || fail "not in the development category"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 32 48 64 128 256; do
  file=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
  [ "$(identify -format '%w %h %m' "$file" 2>/dev/null)" = "$size $size PNG" ] ||
    fail "no ${size}x${size} PNG icon named $icon"
done

# The toolkit: the example program configured and built with nothing but the prefix to find it.
for file in include/qxworks/widgets/Form.h lib/libqxtoolkit.a lib/qxworks/cxxflags.txt \
            lib/qxworks/link.txt lib/cmake/Qxworks/QxworksConfig.cmake; do
  [ -f "$prefix/$file" ] || fail "the toolkit's $file is not installed"
done
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
cp -r "$source_dir/examples/hello" "$work/hello"
cmake -S "$work/hello" -B "$work/hello-build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  > "$work/hello.log" 2>&1 && cmake --build "$work/hello-build" >> "$work/hello.log" 2>&1 ||
  fail "the program does not build with find_package(Qxworks): $(tail -20 "$work/hello.log")"
grep -qx "Qxworks_DIR:PATH=$prefix/lib/cmake/Qxworks" "$work/hello-build/CMakeCache.txt" ||
  fail "find_package(Qxworks) found another package than the installed one"
mkdir -p "$work/hello-drive"
shown=$(QXWORKS_DRIVE_C=$work/hello-drive XDG_CACHE_HOME=$work/hello-drive SDL_VIDEODRIVER=x11 \
        timeout 60 "$work/hello-build/hello" --press 2> "$work/hello.err") ||
  fail "the program on the installed toolkit failed: $(cat "$work/hello.err")"
[ "$shown" = "Кнопка нажата" ] || fail "the program's label shows \"$shown\""

# An empty drive C:, as a new user's.
drive=$work/drive
mkdir -p "$drive"
QXWORKS_DRIVE_C=$drive SDL_VIDEODRIVER=x11 "$prefix/bin/qxworks" 2> "$work/stderr" &
pid=$!
for _ in $(seq 50); do
  xdotool search --name '^Qxworks 0\.3\.2$' > /dev/null 2>&1 && break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null || fail "qxworks did not start: $(cat "$work/stderr")"
sleep 1
diff -r "$prefix/share/qxworks/Pics" "$drive/Qxe/Pics" > "$work/diff" ||
  fail "drive C:'s Pics differ from the installed pictures: $(head -5 "$work/diff")"
# The toolbar's New button (the main window stands at (100, 100)) shows its picture.
import -window root -crop 16x16+108+126 +repage "$work/new.png"
shown=$(compare -metric AE "$work/new.png" "$drive/Qxe/Pics/16x16silver/New.bmp" null: 2>&1 || true)
[ "$shown" = "0" ] || fail "the New button does not show its picture ($shown pixels differ)"

xdotool mousemove 885 111 click 1
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after its close button was clicked"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit code $status"
echo "Installed: passed"
