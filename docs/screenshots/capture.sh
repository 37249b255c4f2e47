#!/usr/bin/env bash
# Takes the screenshots of the Main, Browse and Filter pages: the program runs under a virtual X
# server on a synthetic contact file. Needs Debian's xvfb, x11-apps and xdotool.
#   docs/screenshots/capture.sh        (after ./dev build)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=docs/screenshots
home=$(mktemp -d)
display=:77
pids=()
cleanup() {
    # The program first, then its X server.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

"${XBTOOL:-build/tools/xbtool}" gen-contacts "$home/QUILLB1.DBF" 250 --seed 7 >/dev/null
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
pids+=($!)
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb build/src/app/quillbank --home "$home" &
pids+=($!)
win=$(DISPLAY=$display xdotool search --sync --name "Quillbank for Windows -" | head -1)
sleep 2
eval "$(DISPLAY=$display xdotool getwindowgeometry --shell "$win")"

shot() {
    DISPLAY=$display xwd -root -silent >"$home/shot.xwd"
    python3 "$out/xwd2png.py" "$home/shot.xwd" "$out/$1" "$X" "$Y" "$WIDTH" "$HEIGHT"
}
shot main-page.png
# The Browse button is the second of the page buttons at the window's top left.
DISPLAY=$display xdotool mousemove --window "$win" "${BROWSE_X:-130}" "${BROWSE_Y:-42}" click 1
sleep 1
shot browse-page.png
# The Filter button is the third.
DISPLAY=$display xdotool mousemove --window "$win" "${FILTER_X:-213}" "${FILTER_Y:-42}" click 1
sleep 1
shot filter-page.png
echo "wrote $out/main-page.png, $out/browse-page.png and $out/filter-page.png"
