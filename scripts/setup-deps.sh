#!/usr/bin/env bash
# Installs the Debian packages Zentrel needs. Idempotent: apt is only touched when something is missing.
#   setup-deps.sh run   what building and running the application needs
#   setup-deps.sh test  that, plus what the test suite, the fuzzer and the benchmarks need
set -euo pipefail

run_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libxcb1-dev libsimdjson-dev libicu-dev libcanberra-dev libasound2-dev
    fonts-material-design-icons-iconfont
)
test_packages=(
    xvfb xauth dbus python3-dbusmock
    libbenchmark-dev clang libclang-rt-14-dev clang-format
    openbox trayer xdotool x11-utils appstream desktop-file-utils file dpkg-dev strace xdg-utils
    mandoc man-db python3-jsonschema
)

wanted=("${run_packages[@]}")
if [[ "${1:-run}" == test ]]; then
    wanted+=("${test_packages[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
