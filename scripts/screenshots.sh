#!/bin/sh
# Remakes the pictures of the guide (docs/images) from the real program,
# headless: K40 laid out as installed (in a fixed folder, so that the paths
# the pictures show stay the same) at its first start on the sample route 12,
# three steps from section 1, every page of the options dialog and the
# tickets of the bundled plug-ins. The clock is fixed too, so that an
# unchanged program gives unchanged pictures.
#   sh scripts/screenshots.sh [out folder]
# Given another folder (as CI does), the pictures go there and are checked
# against docs/images: every picture of the guide must still be made, at
# the same size.
set -eu
cd "$(dirname "$0")/.."
out=${1:-docs/images}
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target k40shots sample_data voices hy3
home=/tmp/k40-guide
rm -rf "$home"
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/usr/bin" "$home/usr/share/k40/sample" "$home/usr/share/k40/plugins" "$out"
cp build/sample/12.hy3 build/sample/12tp.csv data/sample/*.wav data/sample/*.mid \
    "$home/usr/share/k40/sample/"
cp data/plugins/*.4SP "$home/usr/share/k40/plugins/"
XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    K40SHOTS_NOW=2026-04-01T08:15:00 ./build/tools/k40shots/k40shots \
    "$home/usr/bin/K40" 12 1 3 "$home/shots" "$home/usr/share/k40/plugins" 2>&1 |
    grep -v -e "does not support" -e XDG_RUNTIME_DIR || true
# A long route of 60 stops (fares 190 to 770 yen) ridden to its terminal on a
# board of 50 cells that pages: both of its pages.
awk 'BEGIN { for (i = 1; i <= 60; i++) { l = "停留所" i "," i
             for (k = 1; k < i; k++) { f = 180 + 10 * (i - k); l = l "," (f > 790 ? 790 : f) }
             print l } }' >"$home/60.csv"
./build/tools/hy3/hy3 import "$home/60.csv" "$home/usr/share/k40/sample/60.hy3"
mkdir -p "$home/config/K40"
printf '[General]\nboard=5x10\npaging=1\n' >"$home/config/K40/K40-board.ini"
XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    K40SHOTS_NOW=2026-04-01T08:15:00 ./build/tools/k40shots/k40shots \
    "$home/usr/bin/K40" 60 1 59 "$home/long" 2>&1 |
    grep -v -e "does not support" -e XDG_RUNTIME_DIR -e "message: " || true
cp "$home/long/page-1.png" "$home/shots/board-50.png"
cp "$home/long/page-51.png" "$home/shots/board-50-page2.png"
# The guide keeps the pictures it shows.
for f in board-50 board-50-page2 board-menu board-200 ride panel console console-ticket lamp-test voice-dialog \
         options-0 options-1 options-1b options-2 options-3 options-4 options-4b options-5 \
         ticket-standard ticket-barcode ticket-number; do
    cp "$home/shots/$f.png" "$out/$f.png"
done
[ "$out" = docs/images ] && exit 0
status=0
for f in docs/images/*.png; do
    made="$out/$(basename "$f")"
    if [ ! -f "$made" ]; then
        echo "screenshots: $(basename "$f") is no longer made" >&2; status=1
    elif [ "$(head -c 24 "$f" | tail -c 8 | od -An -tx1)" != "$(head -c 24 "$made" | tail -c 8 | od -An -tx1)" ]; then
        echo "screenshots: $(basename "$f") changed size; run sh scripts/screenshots.sh" >&2; status=1
    fi
done
[ $status -eq 0 ] && echo "screenshots: $(ls "$out" | wc -l) pictures made, as the guide shows them"
exit $status
