# Sourced, with the backend as its argument: starts a Wayland compositor (weston) with Xwayland,
# as on a Wayland desktop, and sets $wayland_display (its socket, below a private
# XDG_RUNTIME_DIR, which is exported) and $xwayland (the X display weston picks for Xwayland).
#   headless  no output and no seat: weston offers no pointer or keyboard at all.
#   x11       its output is a window of the X server $display (scripts/private-xvfb.sh), whose
#             pointer and keyboard become the compositor's seat: what xdotool does there
#             reaches Wayland clients, and Xwayland's, as a person's input.
# The compositor is stopped and its folder removed when the sourcing shell exits: source it in
# a subshell of its own, as it sets that shell's EXIT trap.
backend=$1
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
wayland_display=wayland-qx
case $backend in
  headless) options=() ;;
  x11) options=(--use-pixman) ;;
  *) echo "private-weston.sh: no backend $backend"; exit 1 ;;
esac
# No panel: a press in its corner would start a terminal, which then takes the keyboard.
printf '[shell]\npanel-position=none\n' > "$XDG_RUNTIME_DIR/weston.ini"
DISPLAY=${display:-} weston --config="$XDG_RUNTIME_DIR/weston.ini" \
  --backend="$backend-backend.so" --xwayland --socket="$wayland_display" \
  --idle-time=0 --width=1024 --height=768 "${options[@]}" > "$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston=$!
stop_weston() {
  kill "$weston" 2>/dev/null || true
  wait "$weston" 2>/dev/null || true
  rm -rf "$XDG_RUNTIME_DIR"
}
trap stop_weston EXIT
log=$XDG_RUNTIME_DIR/weston.log
xwayland=""
for _ in $(seq 100); do
  xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log")
  [ -n "$xwayland" ] && break
  sleep 0.1
done
[ -n "$xwayland" ] || { echo "weston did not start: $(tail -5 "$log")"; exit 1; }
# The x11 backend moves its own cursor by the pointer's steps, from the top left corner and held
# inside its output: into the far corner and back to the near one, the two stand together, and
# every later step moves both alike.
if [ "$backend" = x11 ]; then
  for at in "1023 767" "0 0" "512 384"; do
    # shellcheck disable=SC2086
    DISPLAY=$display xdotool mousemove $at
    sleep 0.2
  done
fi
