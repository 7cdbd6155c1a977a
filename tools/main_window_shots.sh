#!/usr/bin/env bash
# Screenshots of the two main windows as an operator meets them on a real X
# server with a window manager (so the frame and title bar are in the
# picture): Xvfb at each screen size, openbox, the logger started in a
# working folder seeded from data/ with a station and a long log, the set-up
# dialog's Done and the start-up question answered from the keyboard. For each
# side and size it takes the window as loaded, with a partial-dupe list, and
# in Post Contest Mode.
#
#   tools/main_window_shots.sh DISPLAY_NUMBER [OUT_FOLDER] [SIZES...]
#
# Needs xvfb, openbox, xdotool, x11-apps (xwd) and netpbm; the logger built
# in build/ (or $OSTREL_BUILD). Only the processes it started are ended.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${OSTREL_BUILD:-$top/build}
display=":${1:?display number}"
out=${2:-$top/shots}
shift $(( $# >= 2 ? 2 : 1 ))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1024x768 1280x1024)
mkdir -p "$out"
scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

shot() { xwd -display "$display" -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$1"; }

# A station of either side, as QSOpref.txt holds it (UTC offset 0 on a
# machine running on UTC, so no offset question comes up).
write_pref() {
  local side=$1 spc=WI
  [ "$side" = out ] && spc=MN
  printf '"K9DAN"\r\n"%s"\r\n"USA"\r\n"DAN"\r\n"Dan"\r\n"SINGLE-OP"\r\n"DAN"\r\n"Madison"\r\n"CW"\r\n"20"\r\n0\r\n89.4\r\n43.1\r\n"NA"\r\n100\r\n255\r\n0\r\n0\r\n"WI"\r\n%s\r\n0\r\n0\r\n"None"\r\n0\r\n0\r\n' \
    "$spc" "$([ "$side" = out ] && echo 1 || echo 0)"
}

# A long log: 3000 contacts on every band and both modes, in-state stations
# from every county of the table, other states, provinces and DX.
write_log() {
  python3 - "$1" <<'EOF'
import sys
counties = [l.split('","')[0][3:] for l in open(sys.argv[1] + "/county2.txt", encoding="latin-1") if l.strip()]
places = ["IL", "MN", "ON", "Germany", "Japan", "TX"]
bands = ["160", "80", "40", "20", "15", "10"]
out = []
for i in range(3000):
    call, n = "K%d" % (i % 10), i // 10
    while len(call) < 5:
        call += chr(ord("A") + n % 26); n //= 26
    in_state = i % 2 == 1
    spc = "WI" if in_state else places[i % 6]
    county = counties[i % len(counties)] if in_state else ""
    t = "%02d:%02d:%02d" % (i // 3600 % 24, i // 60 % 60, i % 60)
    mode = "PH" if i % 3 == 0 else "CW"
    fields = [call, "", "", spc, county, "", "DAN", "", "", "", "", "2026/12/10", t, mode, bands[i // 2 % 6]]
    out.append(",".join('"%s"' % f for f in fields) + ',0,"","",""\r\n')
sys.stdout.write("".join(out))
EOF
}

for size in "${sizes[@]}"; do
  Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  pids+=("$xvfb")
  sleep 2
  wm=""
  if command -v openbox >/dev/null; then
    DISPLAY=$display openbox >/dev/null 2>&1 &
    wm=$!
    pids+=("$wm")
    sleep 1
  fi
  for side in in out; do
    work=$scratch/$side-$size
    mkdir -p "$work"
    cp -p "$top"/data/* "$work"/
    write_pref "$side" > "$work/QSOpref.txt"
    write_log "$work" > "$work/log.txt"
    (cd "$work" && DISPLAY=$display QT_QPA_PLATFORM=xcb TZ=UTC \
       XDG_DATA_HOME=$scratch/home/data XDG_CONFIG_HOME=$scratch/home/config \
       exec "$build/ostrel") >"$work/run.log" 2>&1 &
    app=$!
    pids+=("$app")
    sleep 5
    DISPLAY=$display xdotool key Return   # the set-up dialog's Done
    sleep 3
    DISPLAY=$display xdotool key Return   # "Open existing log?": Yes
    sleep 5
    shot "$out/$side-$size.png"
    DISPLAY=$display xdotool key alt+l   # Log "Time On"
    sleep 1
    DISPLAY=$display xdotool type --delay 150 "K7A"  # a partial-dupe list
    sleep 2
    shot "$out/$side-$size-partial.png"
    DISPLAY=$display xdotool key Escape
    DISPLAY=$display xdotool key alt+o key p   # Options > Post Contest Mode
    sleep 2
    shot "$out/$side-$size-postcontest.png"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
  done
  [ -n "$wm" ] && { kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true; }
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
done
echo "screenshots in $out" >&2
