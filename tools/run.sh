#!/usr/bin/env bash
# Builds the program (Release) and runs it. Without a display it renders the window to a
# PNG file instead; pass --screenshot FILE to choose the file.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
qrt_install_deps
qrt_build_release qrt-datamanager
args=("$@")
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [[ " $* " != *" --screenshot "* ]]; then
    echo "==> No display: rendering the window to build/screenshot.png"
    args+=(--screenshot build/screenshot.png)
fi
echo "==> Running build/release/qrt-datamanager ${args[*]}"
exec build/release/qrt-datamanager "${args[@]}"
