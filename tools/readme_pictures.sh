#!/usr/bin/env bash
# Remakes the README's pictures of the two main windows (docs/infrm.png,
# docs/outfrm.png): each window at 1024x768 over a long log, with a partial
# call typed so the entry line's dupe list shows. It runs
# tools/main_window_shots.sh (same needs: xvfb, openbox, xdotool, x11-apps,
# netpbm, the logger built in build/ or $OSTREL_BUILD) on the X display
# number given.
#
#   tools/readme_pictures.sh DISPLAY_NUMBER
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
"$top/tools/main_window_shots.sh" "${1:?display number}" "$shots" 1024x768
mkdir -p "$top/docs"
cp "$shots/in-1024x768-partial.png" "$top/docs/infrm.png"
cp "$shots/out-1024x768-partial.png" "$top/docs/outfrm.png"
echo "wrote docs/infrm.png and docs/outfrm.png" >&2
