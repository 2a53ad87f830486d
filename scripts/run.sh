#!/bin/sh
# Installs what is missing, builds K40 and starts it on the bundled sample data.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
# A first settings file that points at the sample route and chimes, with the
# standard boarding ticket in the preview.
./build/tools/k40init/k40init build/K40.in4 build/sample data/sample data/plugins/standard.4SP
exec ./build/K40
