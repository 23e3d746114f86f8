#!/usr/bin/env bash
# Kills saves of a large project file at random moments and checks what is left: the file must
# be exactly the old one or exactly the new one each time, and the temporaries of killed saves
# must not pile up (the next save removes them). Then a full disk: a small tmpfs (mounting one
# needs root) must make the save fail with its reason and keep the old file.
# Run by hand, not by the test command:
#   scripts/kill-during-save.sh [BUILD_DIR] [KILLS]     (defaults: build, 300)
# The save is `qxtree copy` of one of two ~10 MB projects over the other; both are made by
# `qxtree import` from generated units (scripts/gen-unit.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
qxtree=$(realpath "${1:-build}/qxtree")
kills=${2:-300}
work=$(mktemp -d /tmp/qx-kill.XXXXXX)
export QXWORKS_DRIVE_C=$work/drive
full=$work/full
cleanup() {
  mountpoint -q "$full" && umount "$full"
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAULT: $*" >&2
  faults=$((faults + 1))
}
faults=0

# Two projects of about 10 MB that differ throughout.
for variant in A B; do
  "$here/scripts/gen-unit.sh" "$work/drive/Qxe/Work/Demo" 24000 "T${variant}Item"
  cp "$here/fuzz/seeds/ConfigLoader/kinds.qxe" "$work/$variant.qxe"
  "$qxtree" import "$work/$variant.qxe" Work/Demo/Main || { echo "import failed" >&2; exit 1; }
done
echo "projects: A $(stat -c %s "$work/A.qxe") bytes, B $(stat -c %s "$work/B.qxe") bytes"

target=$work/conf.qxe
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# What the target holds: A, B, or "torn".
holds() {
  if cmp -s "$target" "$work/A.qxe"; then echo A
  elif cmp -s "$target" "$work/B.qxe"; then echo B
  else echo torn; fi
}
temporaries() { find "$work" -maxdepth 1 -name '.conf.qxe.saving-*' | wc -l; }

# How long an undisturbed save takes, the best of three.
cp "$work/A.qxe" "$target"
best=999999
for _ in 1 2 3; do
  start=$(now_ms)
  "$qxtree" copy "$work/B.qxe" "$target" || fail "an undisturbed save failed"
  took=$(($(now_ms) - start))
  ((took < best)) && best=$took
done
echo "an undisturbed save: ${best} ms"
cp "$work/A.qxe" "$target"

current=A
old=0 new=0 torn=0 killed=0 finished=0 during=0 most=0
estimate=$best  # how long a save takes now; a shared machine speeds up and slows down
for ((i = 1; i <= kills; i++)); do
  if [ "$current" = A ]; then source=B; else source=A; fi
  # Half of the moments anywhere in the save, half in its second half, where the file is written.
  if ((RANDOM % 2)); then delay=$((RANDOM * estimate / 32768))
  else delay=$((estimate / 2 + RANDOM * estimate / 2 / 32768)); fi
  start=$(now_ms)
  "$qxtree" copy "$work/$source.qxe" "$target" 2>>"$work/copy.err" &
  pid=$!
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null  # no "Killed" line from the shell
  status=$?
  if ((status == 137)); then
    killed=$((killed + 1))
  elif ((status == 0)); then
    finished=$((finished + 1))
    estimate=$(((3 * estimate + $(now_ms) - start) / 4))
  else
    fail "kill $i: the save ended with status $status"
  fi
  left=$(temporaries)
  ((left > 0)) && during=$((during + 1))
  ((left > most)) && most=$left
  ((left > 1)) && fail "kill $i: $left temporaries beside the file"
  now=$(holds)
  if [ "$now" = torn ]; then
    fail "kill $i (after ${delay} ms): the file is neither the old nor the new one"
    torn=$((torn + 1))
    cp "$work/$current.qxe" "$target"
  elif [ "$now" = "$current" ]; then old=$((old + 1))
  else new=$((new + 1)); current=$now; fi
done
"$qxtree" copy "$work/A.qxe" "$target" || fail "the save after the kills failed"
[ "$(holds)" = A ] || fail "the save after the kills did not write its file"
[ "$(temporaries)" = 0 ] || fail "temporaries are left after an undisturbed save"
others=$(find "$work" -mindepth 1 -maxdepth 1 ! -name drive ! -name A.qxe ! -name B.qxe ! -name conf.qxe \
  ! -name copy.err ! -name full | wc -l)
[ "$others" = 0 ] || fail "$others other files are left in the folder"
echo "kills: $kills; killed while running $killed, finished first $finished (last estimate of a save ${estimate} ms);" \
  "the file was the old one $old times, the new one $new times, neither $torn times;" \
  "a temporary was left by $during kills, never more than $most at once; none after the last save"

# A full disk: a tmpfs with room for the old file and half of the new one.
mkdir -p "$full"
size=$(($(stat -c %s "$work/A.qxe") + $(stat -c %s "$work/B.qxe") / 2))
if mount -t tmpfs -o "size=$size" tmpfs "$full" 2>"$work/mount.err"; then
  cp "$work/A.qxe" "$full/conf.qxe"
  "$qxtree" copy "$work/B.qxe" "$full/conf.qxe" 2>"$work/full.err"
  status=$?
  ((status == 1)) || fail "full disk: status $status, not 1"
  grep -q "No space left on device" "$work/full.err" || fail "full disk: the reason is not named"
  cmp -s "$full/conf.qxe" "$work/A.qxe" || fail "full disk: the old file changed"
  [ "$(ls -A "$full")" = conf.qxe ] || fail "full disk: files left: $(ls -A "$full")"
  echo "full disk (space): status $status; stderr:"
  sed 's/^/  /' "$work/full.err"
  umount "$full"

  # No free inode: the temporary cannot even be created.
  mount -t tmpfs -o "size=64m,nr_inodes=2" tmpfs "$full"
  cp "$work/A.qxe" "$full/conf.qxe"
  "$qxtree" copy "$work/B.qxe" "$full/conf.qxe" 2>"$work/full.err"
  status=$?
  ((status == 1)) || fail "no inode: status $status, not 1"
  grep -q "No space left on device" "$work/full.err" || fail "no inode: the reason is not named"
  cmp -s "$full/conf.qxe" "$work/A.qxe" || fail "no inode: the old file changed"
  echo "full disk (inodes): status $status; stderr:"
  sed 's/^/  /' "$work/full.err"
  umount "$full"
else
  echo "full disk: not run, a tmpfs cannot be mounted here: $(cat "$work/mount.err")"
fi

echo "faults: $faults"
((faults == 0))
