#!/usr/bin/env bash
# What the running application costs while nothing happens: it watches 1,000 transcripts that
# never grow, under Xvfb with a private session bus and a StatusNotifierWatcher (dbusmock).
# Prints the time from start to the tray item being registered, resident memory, CPU used over
# one idle window, and wake-ups (poll/ppoll calls per thread, counted with strace) over another.
#
#   bench/idle-figures.sh [build-dir] [seconds-per-window]     defaults: build, 60
#
# Needs: xvfb-run, dbus-run-session, python3-dbusmock, strace (scripts/setup-deps.sh test).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath "${1:-$root/build}")
seconds=${2:-60}
binary=$build/src/app/zentrel
[[ -x $binary ]] || { echo "no $binary: build the zentrel target first" >&2; exit 1; }

# Give ourselves a display and a bus with nothing on it, then run again inside them.
if [[ -z ${ZENTREL_IDLE_INSIDE:-} ]]; then
    export ZENTREL_IDLE_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1600x900x24 -nolisten tcp" \
        dbus-run-session --config-file="$root/tests/support/session-bus.conf" -- "$0" "$build" "$seconds"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# 1,000 transcripts of about 100 KB in 40 projects, already complete when the program starts.
/usr/bin/python3 - "$work/home/.claude/projects" <<'EOF'
import json, os, sys
root = sys.argv[1]
prompt = json.dumps({"type": "user", "message": {"role": "user", "content": "Refactor the parser"}})
reply = json.dumps({"type": "assistant", "message": {"role": "assistant",
                    "content": [{"type": "text", "text": "x" * 1900}]}})
body = ("\n".join([prompt] + [reply] * 50) + "\n").encode()
for project in range(40):
    folder = os.path.join(root, f"-home-user-project-{project}")
    os.makedirs(folder, exist_ok=True)
    for session in range(25):
        with open(os.path.join(folder, f"session-{session:04d}.jsonl"), "wb") as f:
            f.write(body)
EOF

# A StatusNotifierWatcher that accepts every item, as a desktop's tray host would.
/usr/bin/python3 -m dbusmock org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.kde.StatusNotifierWatcher >"$work/watcher.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null | grep -q true && break
    sleep 0.1
done
dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Mock.AddMethod string: string:RegisterStatusNotifierItem string:s string: string: >/dev/null

HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work CLAUDE_CONFIG_DIR= \
    QT_LOGGING_RULES="zentrel.app.info=true" "$binary" >"$work/zentrel.log" 2>&1 &
app=$!
pids+=("$app")
for _ in $(seq 100); do
    grep -q "tray item registered" "$work/zentrel.log" && break
    sleep 0.1
done
tray_line=$(grep -m1 "tray item registered" "$work/zentrel.log" || true)
[[ -n $tray_line ]] || { cat "$work/zentrel.log" >&2; echo "the tray item never registered" >&2; exit 1; }
sleep 5 # past the first scan of the tree

ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
rss_kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app/status")

timeout -s INT "$seconds" strace -f -p "$app" -e trace=poll,ppoll -o "$work/strace.log" 2>/dev/null || true

echo "start to tray item:  $(sed -E 's/.*registered after ([0-9]+) ms.*/\1/' <<<"$tray_line") ms   ($tray_line)"
echo "resident memory:     $((rss_kb / 1024)) MB ($rss_kb kB VmRSS)"
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "CPU over %d s idle:  %.3f s = %.3f %%\n", s, t / hz, 100 * t / hz / s }'
echo "wake-ups over $seconds s (poll/ppoll calls per thread):"
grep -v 'resumed>' "$work/strace.log" | grep -E 'p?poll\(' | awk '{ print $1 }' | sort | uniq -c |
    while read -r count tid; do
        name=$(cat "/proc/$app/task/$tid/comm" 2>/dev/null || echo "?")
        printf "  thread %-8s %-16s %5d  (%.2f per second)\n" "$tid" "$name" "$count" \
            "$(awk -v c="$count" -v s="$seconds" 'BEGIN { print c / s }')"
    done
