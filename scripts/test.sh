#!/usr/bin/env bash
# Sets up, builds and runs every test: the suite, the fuzzer, then the suite again under ASan + UBSan.
# Needs no display and no session bus: it starts Xvfb and a private D-Bus session itself.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup-deps.sh" test

configure_and_build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir"
}

# A private bus with no service directories, so nothing installed on the machine is
# D-Bus-activated behind the tests' back.
run_suite() {
    local dir=$1
    xvfb-run -a -s "-screen 0 1600x900x24 -nolisten tcp" \
        dbus-run-session --config-file="$root/tests/support/session-bus.conf" -- \
        ctest --test-dir "$dir" --output-on-failure --timeout 300
}

configure_and_build "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite "$root/build"

"$root/fuzz/run.sh" "$root/build-fuzz" 30

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:suppressions=$root/tests/support/asan.supp"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
configure_and_build "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DZENTREL_SANITIZE=ON -DZENTREL_BUILD_BENCH=OFF
run_suite "$root/build-asan"
