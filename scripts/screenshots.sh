#!/usr/bin/env bash
# Makes the README's pictures again: docs/screenshot-editor.png (the editor on the demo map,
# on a virtual X server with a window manager) and docs/whole-map.png (quarvel-cli render).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/deps.sh xvfb x11-utils openbox xdotool imagemagick
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target quarvel quarvel-cli quarvel-program-folder >/dev/null
program=$root/build/Quarvel
mkdir -p docs

# The whole map, with the empty sky above the highest level cut away.
"$program/quarvel-cli" render "$program/map/demo.map" docs/whole-map.png --chips "$program/chip"
convert docs/whole-map.png -trim +repage docs/whole-map.png

# A free display number, a private folder for the editor's lock and settings.
n=${SCREENSHOT_DISPLAY:-90}
while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
export DISPLAY=:$n
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
Xvfb "$DISPLAY" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# Started from the home folder, as a launcher would; File > Open starts in the map folder.
(cd "$work" && TMPDIR=$work HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
    XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/run exec "$program/quarvel" >/dev/null 2>&1) &
pids+=($!)
frame=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quarvel$' | head -1)
sleep 1
xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
xdotool key alt+f
sleep 0.5
xdotool key o
timeout 20 xdotool search --sync --name '^開く$' >/dev/null
sleep 0.5
xdotool type --delay 50 demo.map
xdotool key Return
timeout 20 xdotool search --sync --name '^Quarvel - .*demo\.map$' >/dev/null
sleep 0.5

# Both views side by side ("左右に並べて表示"), then a click in the whole-map view on the
# green castle, so that the edit view shows the level and place picked there.
xdotool key alt+w
sleep 0.3
xdotool key v
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$frame")"
xdotool mousemove $((X + WIDTH * 59 / 100)) $((Y + HEIGHT * 82 / 100))
sleep 0.5
xdotool click 1
sleep 0.3
xdotool mousemove $((X + WIDTH / 4)) $((Y + HEIGHT / 2))
sleep 1
import -window root docs/screenshot-editor.png
echo "docs/screenshot-editor.png and docs/whole-map.png written"
