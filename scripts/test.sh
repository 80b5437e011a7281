#!/usr/bin/env bash
# Builds Glimvane and its tests, then runs every test under Wine on a private Xvfb display.
set -euo pipefail
source "$(dirname "$0")/env.sh"

glimvane_install_deps
# The portable code, natively under the sanitizers, replaying the fuzzers' corpus.
"$GLIMVANE_ROOT/native/check.sh"
glimvane_build
glimvane_build_32bit
trap glimvane_stop EXIT
glimvane_start_display
glimvane_start_wine with-scaled
cd "$GLIMVANE_BUILD"
ctest --output-on-failure --timeout 300 "$@"
