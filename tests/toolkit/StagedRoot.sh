#!/usr/bin/env bash
# The toolkit root the build stages in BUILD_DIR/toolkit is all a program needs: the example
# program (a form with a label and a button, its own main) compiled and linked by the system
# compiler with nothing but the root's include/, lib/ and flag files, then run on SDL's offscreen
# driver, where it presses its own button and must end with exit code 0 and the label changed.
# Usage: StagedRoot.sh BUILD_DIR COMPILER
set -euo pipefail
root=$(cd "$1" && pwd)/toolkit
compiler=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "StagedRoot: $1"; exit 1; }

for file in include/qxworks/widgets/Form.h include/qxworks/platform/draw/Surface.h \
            include/qxworks/platform/Toolkit.h lib/libqxtoolkit.a lib/qxworks/cxxflags.txt \
            lib/qxworks/link.txt lib/cmake/Qxworks/QxworksConfig.cmake \
            lib/cmake/Qxworks/QxworksConfigVersion.cmake; do
  [ -f "$root/$file" ] || fail "the root has no $file"
done

# The source alone in a folder of its own: no header of the source tree is near it.
cp "$source_dir/examples/hello/Main.cpp" "$work/"
mapfile -t cxxflags < "$root/lib/qxworks/cxxflags.txt"
mapfile -t link < "$root/lib/qxworks/link.txt"
"$compiler" "${cxxflags[@]}" -I "$root/include/qxworks" "$work/Main.cpp" -o "$work/hello" \
  "$root/lib/libqxtoolkit.a" "${link[@]}" 2> "$work/compile.log" ||
  fail "the program does not build against the root: $(head -20 "$work/compile.log")"

mkdir -p "$work/drive" "$work/cache"
status=0
QXWORKS_DRIVE_C=$work/drive XDG_CACHE_HOME=$work/cache SDL_VIDEODRIVER=offscreen \
  SDL_AUDIODRIVER=dummy timeout 60 "$work/hello" --press > "$work/out" 2> "$work/err" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status: $(cat "$work/err")"
[ "$(cat "$work/out")" = "Кнопка нажата" ] || fail "the label shows \"$(cat "$work/out")\""
echo "StagedRoot: passed"
