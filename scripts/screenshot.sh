#!/usr/bin/env bash
# Remakes docs/glimvane.png, the README's picture of the main window, on a private Xvfb display.
set -euo pipefail
source "$(dirname "$0")/env.sh"

glimvane_install_deps
glimvane_build
trap glimvane_stop EXIT
glimvane_start_display
glimvane_start_wine
wine "$GLIMVANE_BUILD/bin/glimvane.exe" &
sleep 3
# The window opens centred on the 1366 x 768 screen: 319 x 160 at 523,304.
import -window root -crop 319x160+523+304 +repage "$GLIMVANE_ROOT/docs/glimvane.png"
echo "Saved docs/glimvane.png"
