# shellcheck shell=bash
# Sourced by the bench scripts: a display and a private bus with nothing on it, a scratch folder
# removed on exit, and the D-Bus stand-ins a desktop would provide. Set `root` before sourcing.

: "${root:?set root to the repository before sourcing}"

# Every figure script takes the build folder as its first argument (a sourced file shares them).
binary=$(realpath "${1:-$root/build}")/src/app/zentrel
[[ -x $binary ]] || { echo "no $binary: build the zentrel target first" >&2; exit 1; }

# The calling script runs again inside Xvfb and a private session bus, with its own arguments,
# before anything is made that the exec would leave behind.
if [[ -z ${ZENTREL_BENCH_SESSION:-} ]]; then
    export ZENTREL_BENCH_SESSION=1
    exec xvfb-run -a -s "-screen 0 1600x900x24 -nolisten tcp" \
        dbus-run-session --config-file="$root/tests/support/session-bus.conf" -- "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

wait_for_name() {
    for _ in $(seq 100); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q true && return 0
        sleep 0.1
    done
    echo "$1 never appeared on the bus" >&2
    exit 1
}

# A StatusNotifierWatcher that accepts every item, as a desktop's tray host would.
start_tray_host() {
    /usr/bin/python3 -m dbusmock org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.kde.StatusNotifierWatcher >"$work/watcher.log" 2>&1 &
    pids+=($!)
    wait_for_name org.kde.StatusNotifierWatcher
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Mock.AddMethod string: string:RegisterStatusNotifierItem string:s string: string: >/dev/null
}

# Starts the program in the scratch home with its log in $work/zentrel.log, sets `app` to its pid,
# and waits until its tray item is registered. Extra environment assignments may be passed.
#   start_zentrel binary [NAME=value...]
start_zentrel() {
    local binary=$1
    shift
    env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work" CLAUDE_CONFIG_DIR= \
        QT_LOGGING_RULES="zentrel.app.info=true;zentrel.tray.info=true;zentrel.watcher.info=true" "$@" "$binary" >"$work/zentrel.log" 2>&1 &
    app=$!
    pids+=("$app")
    for _ in $(seq 100); do
        grep -q "tray item registered" "$work/zentrel.log" && return 0
        sleep 0.1
    done
    cat "$work/zentrel.log" >&2
    echo "the tray item never registered" >&2
    exit 1
}
