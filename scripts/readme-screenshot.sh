#!/usr/bin/env bash
# readme-screenshot.sh BUILD_DIR: makes docs/qxworks.png, the README's picture of the environment,
# from a real run: the end-to-end session of tests/e2e/Environment.sh on a private Xvfb server,
# cut to the main window at the moment the imported code shows in its editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
source "$(dirname "$0")/private-xvfb.sh"

DISPLAY=$display "$root/tests/e2e/Environment.sh" "$build"
mkdir -p "$root/docs"
# The main window stands at (100, 100), 800 by 600.
convert "$build/e2e/Environment/07-imported-code.png" -crop 800x600+100+100 +repage \
  "$root/docs/qxworks.png"
echo "docs/qxworks.png made"
