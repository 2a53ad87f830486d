#!/bin/sh
# Installs the Debian 12 packages K40 needs to build, run and test, and any
# further packages named as arguments (the sanitizer and fuzzing scripts add
# clang).
# Idempotent: packages already present are not touched, and nothing is
# printed when everything is installed. Works as root or through sudo.
set -eu

PACKAGES="
cmake g++ make pkg-config
qt6-base-dev libgl-dev qt6-translations-l10n
fonts-ipafont-gothic fonts-ipafont-mincho fonts-dseg xfonts-ayu xfonts-shinonome
libfreetype-dev zlib1g-dev libzip-dev
libsdl2-dev libsndfile1-dev libfluidsynth-dev timgm6mb-soundfont
open-jtalk open-jtalk-mecab-naist-jdic
libbenchmark-dev
xvfb xauth openbox xdotool x11-utils
$*
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "setup: need root or sudo to install:$missing" >&2
    exit 1
fi

echo "setup: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
