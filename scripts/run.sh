#!/usr/bin/env bash
# Sets up, builds and runs Zentrel from this checkout.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup-deps.sh" run
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTREL_BUILD_TESTS=OFF -DZENTREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build" --target zentrel
exec "$root/build/src/app/zentrel" "$@"
