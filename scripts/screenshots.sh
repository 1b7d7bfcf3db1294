#!/usr/bin/env bash
# Builds the screenshot tool and renders the panel's tabs in a few representative states to
# docs/screenshots/*.png, at twice the panel's size. Needs no desktop: without a display it
# runs under Xvfb. Nothing of the user's own settings or transcripts is read or written.
#   scripts/screenshots.sh [build folder]    (default: build-screenshots)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-screenshots}
"$root/scripts/setup-deps.sh" test

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target zentrel_panel_screenshots

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
run=(env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home" CLAUDE_CONFIG_DIR=
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 LC_ALL=C.UTF-8
    "$build/tools/panel-screenshots/zentrel_panel_screenshots" "$root/docs/screenshots")
if [[ -n "${DISPLAY:-}" ]]; then
    "${run[@]}"
else
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "${run[@]}"
fi
