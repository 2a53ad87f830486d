#!/bin/sh
# Tries the Debian package on a clean Debian 12: makes a minimal bookworm
# root with debootstrap (once), installs the .deb there with apt (which
# fetches every declared dependency), starts K40 headless under Xvfb and a
# window manager, sets the sample route 12 and steps it with mouse clicks,
# takes a picture of the screen, ends K40 through its own exit question,
# shows where the settings went, and removes the package.
#   sh scripts/debtest.sh <k40_*.deb> <root folder> <picture.png>
# Needs root, debootstrap and network access to a Debian mirror; the host
# needs ImageMagick (/usr/bin/convert) for the picture.
set -eu
deb=$(realpath "$1"); root=$2; shot=$3
[ -x "$root/usr/bin/apt-get" ] || debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
cp "$deb" "$root/tmp/k40.deb"
mount -t proc proc "$root/proc" 2>/dev/null || true
trap 'umount "$root/proc" 2>/dev/null || true' EXIT
run() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

echo "== install"
run apt-get update -qq
run sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/k40.deb xvfb xauth openbox xdotool x11-apps >/tmp/install.log 2>&1'
echo "apt set up $(grep -c '^Setting up' "$root/tmp/install.log") packages"
run apt-cache depends --important k40 | sed -n 's/^ *Depends: //p' | tr '\n' ' '; echo
run dpkg -s k40 | grep -E '^(Status|Version)'
run sh -c 'ls /usr/bin/K40 /usr/bin/hy3 /usr/share/applications/k40.desktop /usr/share/icons/hicolor/256x256/apps/k40.png; ls /usr/share/k40 /usr/share/k40/sample'
run hy3 check /usr/share/k40/sample/12.hy3
run hy3 check-tape /usr/share/k40/sample/12tp.csv

echo "== start headless, ride the sample route, end"
run rm -rf /root/.config/K40
cat > "$root/tmp/ride.sh" <<'RIDE'
openbox >/dev/null 2>&1 & sleep 2
K40 & k40=$!
sleep 6
# The console's keys, in pixels from its top left corner.
console=$(xdotool search --onlyvisible --name 集中操作盤 | head -1)
click() { xdotool mousemove --window "$console" "$1" "$2" click 1; sleep 0.4; }
route() { click 69 128; }; section() { click 101 128; }; reset() { click 69 156; }
one() { click 38 100; }; two() { click 69 100; }; step() { click 203 56; sleep 1.5; }
route; one; two; section; one; reset; sleep 3   # route 12 from section 1
step; step; step; sleep 2
xwd -root -silent > /tmp/k40.xwd
# The console closed, and its exit question answered with its default, Yes.
xdotool windowactivate "$console"
sleep 1; xdotool key alt+F4; sleep 2; xdotool key Return
for i in 1 2 3 4 5 6 7 8 9 10; do kill -0 $k40 2>/dev/null || break; sleep 1; done
kill $k40 2>/dev/null && echo "K40 did not end" || echo "K40 ended"
RIDE
run sh -c 'SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x1024x24" sh /tmp/ride.sh 2>&1 | grep -v -e XDG_RUNTIME_DIR -e "X connection"'
/usr/bin/convert "xwd:$root/tmp/k40.xwd" "$shot"
echo "picture: $shot"
echo "settings written:"; run sh -c 'ls -l /root/.config/K40/; ls /usr/bin/*.in4 2>/dev/null || echo "none in /usr/bin"'

echo "== remove"
run sh -c 'apt-get remove -y -qq k40 >/dev/null 2>&1'
run sh -c 'dpkg -s k40 2>&1 | head -2; ls /usr/bin/K40 /usr/share/k40 2>&1 || true'
