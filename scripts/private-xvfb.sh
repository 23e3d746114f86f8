# Sourced: starts an Xvfb server on the first free display number from :90 and sets $display to
# it; the server is killed when the sourcing script exits (its EXIT trap; $xvfb is the server's
# process). The screen is 1024 x 768 unless $xvfb_size says otherwise (WIDTHxHEIGHT).
display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display number"; exit 1; }
Xvfb "$display" -screen 0 "${xvfb_size:-1024x768}x24" -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
