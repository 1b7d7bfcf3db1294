#!/usr/bin/env bash
# What the running application costs while nothing happens: it watches 1,000 transcripts that
# never grow, under Xvfb with a private session bus and a StatusNotifierWatcher (dbusmock).
# Prints the time from start to the tray item being registered, how long indexing the transcripts
# for copies took, resident memory, CPU used over one idle window, and wake-ups (poll/ppoll calls
# per thread, counted with strace) over another.
#
#   bench/idle-figures.sh [build-dir] [seconds-per-window] [tree]     defaults: build, 60, idle
#
# tree "idle": 1,000 transcripts of about 100 KB with one prompt each. tree "history": a long
# history, 1,000 transcripts holding 100 prompts each (with uuid, session and timestamp), 100,000 in all.
#
# Needs: xvfb-run, dbus-run-session, python3-dbusmock, strace (scripts/setup-deps.sh test).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${2:-60}
tree=${3:-idle}

source "$root/bench/session.sh"

# 1,000 transcripts in 40 projects, already complete when the program starts.
/usr/bin/python3 - "$work/home/.claude/projects" "$tree" <<'EOF'
import json, os, sys
root, tree = sys.argv[1:]
def prompt(session, number):
    record = {"type": "user", "message": {"role": "user", "content": "Refactor the parser"}}
    if tree == "history":
        record["uuid"] = f"{session:08x}-0000-4000-8000-{number:012x}"
        record["timestamp"] = f"2025-09-01T10:{number // 60:02d}:{number % 60:02d}.000Z"
        record["sessionId"] = f"{session:08x}-5e55-4000-8000-000000000000"
    return json.dumps(record)
reply = json.dumps({"type": "assistant", "message": {"role": "assistant",
                    "content": [{"type": "text", "text": "x" * 1900}]}})
for project in range(40):
    folder = os.path.join(root, f"-home-user-project-{project}")
    os.makedirs(folder, exist_ok=True)
    for session in range(25):
        if tree == "history":
            lines = [line for number in range(100) for line in (prompt(project * 25 + session, number), reply)]
        else:
            lines = [prompt(0, 0)] + [reply] * 50
        with open(os.path.join(folder, f"session-{session:04d}.jsonl"), "wb") as f:
            f.write(("\n".join(lines) + "\n").encode())
EOF

start_tray_host
start_zentrel "$binary"
tray_line=$(grep -m1 "tray item registered" "$work/zentrel.log")
for _ in $(seq 600); do
    grep -q "indexed .* copy keys" "$work/zentrel.log" && break
    sleep 0.1
done
index_line=$(grep -m1 "indexed .* copy keys" "$work/zentrel.log" || echo "not indexed within 60 s")
sleep 5 # past the first polls of the tree

ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
rss_kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app/status")
hwm_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$app/status")

timeout -s INT "$seconds" strace -f -p "$app" -e trace=poll,ppoll -o "$work/strace.log" 2>/dev/null || true

echo "start to tray item:  $(sed -E 's/.*registered after ([0-9]+) ms.*/\1/' <<<"$tray_line") ms   ($tray_line)"
echo "copy index:          $index_line"
echo "resident memory:     $((rss_kb / 1024)) MB ($rss_kb kB VmRSS), peak $((hwm_kb / 1024)) MB ($hwm_kb kB VmHWM)"
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "CPU over %d s idle:  %.3f s = %.3f %%\n", s, t / hz, 100 * t / hz / s }'
echo "wake-ups over $seconds s (poll/ppoll calls per thread):"
grep -v 'resumed>' "$work/strace.log" | grep -E 'p?poll\(' | awk '{ print $1 }' | sort | uniq -c |
    while read -r count tid; do
        name=$(cat "/proc/$app/task/$tid/comm" 2>/dev/null || echo "?")
        printf "  thread %-8s %-16s %5d  (%.2f per second)\n" "$tid" "$name" "$count" \
            "$(awk -v c="$count" -v s="$seconds" 'BEGIN { print c / s }')"
    done
