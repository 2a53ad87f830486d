#!/bin/sh
# The real K40 under a virtual X server with the openbox window manager,
# started and ended through its exit question three times: the console
# first stands at the bottom right of the screen with its frame, and comes
# back to exactly that place at every later start. Then three more starts
# on a settings file made by k40init, which puts the console's frame at
# 0,300: it stands there every time.
#   restarts.sh <K40 executable> <k40init executable>
# Exit status 77 (skipped) where Xvfb, openbox, xdotool or xwininfo is missing.
set -eu
for tool in xvfb-run openbox xdotool xwininfo xprop; do
    command -v $tool >/dev/null 2>&1 || exit 77
done
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$1" "$dir/K40" # the settings file is written beside the executable
cat > "$dir/session.sh" <<'SESSION'
openbox >/dev/null 2>&1 & sleep 1
for run in 1 2 3 4 5 6; do
    if [ $run -eq 4 ]; then
        rm "$DIR/K40.in4"
        "$K40INIT" "$DIR/K40.in4" "$DIR" "$DIR"
        first=""
    fi
    SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb "$K40" >/dev/null 2>&1 & k40=$!
    w="" # a first start after a build may be slow (a cold disk cache)
    for i in $(seq 300); do
        w=$(xdotool search --onlyvisible --name 集中操作盤 2>/dev/null | head -1) && [ -n "$w" ] && break
        sleep 0.1
    done
    [ -n "$w" ] || { echo "run $run: no console window"; exit 1; }
    # The window manager frames the console, and K40 fits it with its frame
    # a moment later: wait (at most 15 s, for a loaded machine) for the place
    # this run should reach, then report where the console stands.
    for i in $(seq 60); do
        sleep 0.25
        x=$(xwininfo -id "$w" | awk '/Absolute upper-left X/ {print $4}')
        y=$(xwininfo -id "$w" | awk '/Absolute upper-left Y/ {print $4}')
        width=$(xwininfo -id "$w" | awk '/Width/ {print $2}')
        height=$(xwininfo -id "$w" | awk '/Height/ {print $2}')
        extents=$(xprop -id "$w" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
        set -- $extents
        [ $# -eq 4 ] || continue
        if [ $run -eq 1 ]; then
            [ $((x + width + $2)) -eq 1024 ] && [ $((y + height + $4)) -eq 768 ] && break
        elif [ $run -ge 4 ]; then
            [ $((x - $1)) -eq 0 ] && [ $((y - $3)) -eq 300 ] && break
        else
            [ "$x $y" = "$first" ] && break
        fi
    done
    [ $run -eq 1 ] && first="$x $y"
    echo "run $run: client $x $y $width $height frame extents $extents"
    timeout 5 xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
    sleep 0.3; xdotool key alt+F4; sleep 1; xdotool key Return
    for i in $(seq 50); do kill -0 $k40 2>/dev/null || break; sleep 0.1; done
    if kill $k40 2>/dev/null; then echo "run $run: K40 did not end"; exit 1; fi
done
SESSION
out=$(DIR="$dir" K40="$dir/K40" K40INIT="$2" xvfb-run -a -s "-screen 0 1024x768x24" sh "$dir/session.sh")
echo "$out"
echo "$out" | grep -q "did not end\|no console" && exit 1
[ -f "$dir/K40.in4" ] || { echo "no settings file was written"; exit 1; }
# First start: the frame's right and bottom edges on the screen's.
set -- $(echo "$out" | sed -n 's/^run 1: client //p')
x=$1 y=$2 width=$3 height=$4 right=$8 bottom=${10}
[ $((x + width + right)) -eq 1024 ] && [ $((y + height + bottom)) -eq 768 ] ||
    { echo "first start: the console's frame is not at the bottom right"; exit 1; }
# Later starts: the same place.
places=$(echo "$out" | sed -n 's/^run [1-3]: client \([0-9]* [0-9]*\).*/\1/p' | sort -u | wc -l)
[ "$places" -eq 1 ] || { echo "the console moved between starts"; exit 1; }
echo "the console stayed at $x,$y"
# On k40init's settings: the frame at 0,300 every time.
echo "$out" | sed -n 's/^run [4-6]: client //p' | while read -r x y width height frame extents left right top bottom; do
    [ $((x - left)) -eq 0 ] && [ $((y - top)) -eq 300 ] ||
        { echo "the console's frame stood at $((x - left)),$((y - top)), not 0,300"; exit 1; }
done
echo "the console's frame stood at 0,300 on k40init's settings"
