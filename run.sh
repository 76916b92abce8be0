#!/usr/bin/env bash
# Sets everything up, builds, and opens the editor on the example drawing.
# Without a display it says so and runs the example jobs on the command line instead.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >build.log 2>&1 \
  || { cat build.log; exit 1; }
cmake --build build -j"$(nproc)" >>build.log 2>&1 || { tail -n 80 build.log; exit 1; }
example=data/examples/parts.dxf
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/kerbon ]; then
  exec build/kerbon "$example"
fi
echo "No display found: running the example jobs on the command line instead."
build/kerbon-cli info "$example"
build/kerbon-cli render "$example" build/parts.png --size 1200x800 2>/dev/null
echo "Picture of the drawing: build/parts.png"
build/kerbon-cli join lines data/examples/loose-lines.dxf build/loose-lines-joined.dxf --close
echo "Joined drawing: build/loose-lines-joined.dxf"
