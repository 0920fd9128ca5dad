#!/usr/bin/env bash
# Makes the manual's pictures, doc/images/*.png, from the built program under Xvfb, so that they
# show the program as it is today. The program runs from a scratch folder (English, fresh
# settings) with simulated generators; SCPI puts each device into the state a picture needs,
# and the keyboard opens menus and dialogs as a user would.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default build/; the program is built there first)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=doc/images

if [ -z "${DDSTARN_SHOTS_DISPLAY:-}" ]; then
    scripts/setup.sh
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target DDSTarnUSB
    exec xvfb-run -a -s "-screen 0 1280x1024x24" env DDSTARN_SHOTS_DISPLAY=1 "$0" "$build"
fi

scratch=$(mktemp -d)
# The usual SCPI port shows in the status bar; another when something holds it.
port=5025
while (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((20000 + RANDOM % 20000)); done
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
# Settings and crash-recovery files of these runs stay in the scratch folder too: the program
# ends by a signal here, which the next start would offer to restore.
export XDG_CONFIG_HOME="$scratch/config" XDG_STATE_HOME="$scratch/state"
# The program finds its generator library at ../lib/ddstarn-usb, as in the build tree.
mkdir -p "$scratch/bin" "$scratch/lib"
cp "$build/app/DDSTarnUSB" "$scratch/bin/"
cp -r "$build/lib/ddstarn-usb" "$scratch/lib/"
cp -r "$build/app/language" "$build/app/help" "$scratch/bin/"
mkdir -p "$out"

# Starts the program with $1 simulated generators and waits for the window named $2.
start() {
    DDSTARN_SIM_UNITS=$1 "$scratch/bin/DDSTarnUSB" --scpi="$port" >"$scratch/log" 2>&1 &
    pid=$!
    window "$2" >/dev/null
    sleep 1
}

stop() {
    kill "$pid" && wait "$pid" 2>/dev/null || true
    pid=
}

# The id of the visible window whose title is exactly $1, waiting for it to appear.
window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1) && [ -n "$id" ] && {
            echo "$id"
            return
        }
        sleep 0.1
    done
    echo "no window \"$1\"" >&2
    cat "$scratch/log" >&2
    exit 1
}

# Sends SCPI lines to the running program and waits until the generator has taken them.
scpi() {
    local answer
    exec 3<>"/dev/tcp/127.0.0.1/$port"
    printf '%s\n' "$@" '*OPC?' >&3
    read -r -t 10 answer <&3
    exec 3<&-
    sleep 0.4
}

# Clicks at $2,$3 inside window $1.
click() {
    local x y
    eval "$(xdotool getwindowgeometry --shell "$1")"
    x=$((X + $2))
    y=$((Y + $3))
    xdotool mousemove "$x" "$y" click 1
}

# Opens item $3 (counting enabled items from 1) of top-level menu $2 (from 0) of main window $1.
# A click opens a menu with no item active; moving to the next menu activates its first item.
menu() {
    local downs=$3
    click "$1" 20 12
    sleep 0.3
    for _ in $(seq "$2"); do xdotool key Right; done
    [ "$2" -gt 0 ] && downs=$((downs - 1))
    for _ in $(seq "$downs"); do xdotool key Down; done
    xdotool key Return
    sleep 0.5
}

# Opens item $3 counted from the end (1 = last) of top-level menu $2 of main window $1: Up from
# the first item goes round to the last, whichever items are grey.
menu_from_end() {
    click "$1" 20 12
    sleep 0.3
    for _ in $(seq "$2"); do xdotool key Right; done
    [ "$2" -eq 0 ] && xdotool key Down
    for _ in $(seq "$3"); do xdotool key Up; done
    xdotool key Return
    sleep 0.5
}

# Saves window $1 as doc/images/$2.png: 256 colours, no metadata.
shot() {
    import -window "$1" "$scratch/shot.png"
    convert "$scratch/shot.png" -strip -colors 256 "PNG8:$out/$2.png"
}

# The Device List that three free generators bring up.
start 3 "Device List"
shot "$(window "Device List")" device-list
stop

# Main window with a square wave on the panel.
start 1 "DDS-Tarn USB.*"
main=$(window "DDS-Tarn USB.*")
xdotool windowmove "$main" 0 0 windowsize "$main" 980 700
scpi "FUNC SQU" "FREQ 2.5kHz" "VOLT 4" "OUTP ON"
shot "$main" main
# Its status bar alone, where a simulated unit is named.
convert "$scratch/shot.png" -gravity South -crop "$(identify -format %w "$scratch/shot.png")x22+0+0" +repage -strip -colors 256 \
    "PNG8:$out/status-bar.png"

# The Frequency field's tooltip: what the unit really plays near the top of its range. Tooltips
# show in the active window only; a click on the panel's empty corner makes it active.
scpi "FUNC SIN" "FREQ 66666000"
click "$main" 850 620
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 760)) $((Y + 470))
sleep 0.3
xdotool mousemove $((X + 766)) $((Y + 473))
sleep 2.5
import -window root -crop "540x130+$((X + 600))+$((Y + 380))" "$scratch/tip.png"
convert "$scratch/tip.png" +repage -strip -colors 256 "PNG8:$out/played-frequency.png"
xdotool mousemove $((X + 850)) $((Y + 620))
scpi "FUNC SQU" "FREQ 2.5kHz"

# Square dialog (Wave Parameter > Square).
menu "$main" 2 1
dialog=$(window Square)
shot "$dialog" square
xdotool key Escape

# Sweep dialog (Utility > Sweep) on a sine.
scpi "FUNC SIN" "FREQ 1kHz"
menu "$main" 5 1
dialog=$(window Sweep)
shot "$dialog" sweep
xdotool key Escape

# An Arb wave: a sine captured into the point table, its lower half drawn flat with the mouse.
scpi "FUNC ARB"
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 380)) $((Y + 330)) mousedown 1
for step in $(seq 0 20); do
    xdotool mousemove $((X + 380 + step * 14)) $((Y + 330))
    sleep 0.03
done
xdotool mouseup 1
xdotool mousemove $((X + 150)) $((Y + 250))
sleep 0.5
shot "$main" arb

# The Edit menu after that stroke: Undo is offered, and the waveform import and export.
click "$main" 20 12
sleep 0.3
xdotool key Right
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
import -window root -crop "420x330+$X+$Y" "$scratch/menu.png"
convert "$scratch/menu.png" +repage -strip -colors 256 "PNG8:$out/edit-menu.png"
xdotool key Escape key Escape
sleep 0.3

# The import preview of a WAV file: one period of a sine with a strong third harmonic.
python3 - "$scratch/tone.wav" <<'PY'
import math, struct, sys, wave
n = 480
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(1)
    out.setsampwidth(2)
    out.setframerate(48000)
    out.writeframes(b"".join(
        struct.pack("<h", round(26000 * (math.sin(2 * math.pi * i / n)
                                         + 0.4 * math.sin(6 * math.pi * i / n))))
        for i in range(n)))
PY
menu_from_end "$main" 1 2
window "Import Waveform" >/dev/null
sleep 0.5
xdotool type "$scratch/tone.wav"
xdotool key Return
sleep 1
dialog=$(window "Import Waveform")
shot "$dialog" import-preview
xdotool key Escape
sleep 0.3

# Points Edit, opened by a double click on a point.
click "$main" 150 250
xdotool click --repeat 2 --delay 80 1
dialog=$(window "Edit Points")
shot "$dialog" points-edit
xdotool key Escape

# Digital lines: Programmable Output, then Output Set and Digital Input side by side.
menu "$main" 3 2
scpi "DIG:OUTP 1285"
menu "$main" 3 3
out_set=$(window "Output Set")
xdotool windowmove "$out_set" 20 760  # below the main window, clear of its menus
menu "$main" 3 4
input=$(window "Digital Input")
xdotool windowmove "$input" 400 760
sleep 0.5
import -window "$out_set" "$scratch/out.png"
import -window "$input" "$scratch/in.png"
convert "$scratch/out.png" "$scratch/in.png" -background white -splice 12x0 +append \
    -strip -colors 256 "PNG8:$out/digital-io.png"

# The help window (Help > Help Content) with this run's pictures, at the Arb drawing.
rm -rf "$scratch/bin/help/images"
cp -r "$out" "$scratch/bin/help/images"
menu "$main" 7 1
help=$(window "DDS-Tarn USB Help")
xdotool key ctrl+f
xdotool type "Hold the left mouse button"
xdotool key Return
sleep 0.5
shot "$help" help
stop

ls -l "$out"
