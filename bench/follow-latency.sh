#!/usr/bin/env bash
# How soon `zentrel status --follow` prints a change. The running program (offscreen, on a private
# session bus, in a temporary home) owes a number of sets; each round clears one with a CompleteSet
# call and times the follower's next line twice: from the call (so including the operation and its
# store write) and from the call's reply (sent once the change is made and stored, just before the
# change is announced). Prints the median and the slowest round of each, against the 100 ms target.
#
#   bench/follow-latency.sh [build-dir] [rounds]     defaults: build, 50
#
# Needs: xvfb-run, dbus-run-session, python3-dbus (pulled in by python3-dbusmock).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rounds=${2:-50}

source "$root/bench/session.sh"

export HOME=$work XDG_CONFIG_HOME=$work/.config XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen
mkdir -p "$work/run" "$work/.claude/projects" "$work/.config/zentrel"
chmod 700 "$work/run"
printf '[General]\npendingSets=%d\n' "$rounds" >"$work/.config/zentrel/zentrel.conf"

"$binary" >/dev/null 2>&1 &
pids+=($!)
wait_for_name app.zentrel.Zentrel

/usr/bin/python3 - "$binary" "$rounds" <<'PY'
import statistics, subprocess, sys, time
import dbus

binary, rounds = sys.argv[1], int(sys.argv[2])
zentrel = dbus.Interface(dbus.SessionBus().get_object("app.zentrel.Zentrel", "/app/zentrel/Zentrel"),
                         "app.zentrel.Zentrel1")
follower = subprocess.Popen([binary, "status", "--follow", "--json"], stdout=subprocess.PIPE)
follower.stdout.readline()  # the status as it was
from_call, from_reply = [], []
for _ in range(rounds):
    called = time.monotonic()
    zentrel.CompleteSet()
    replied = time.monotonic()
    follower.stdout.readline()
    printed = time.monotonic()
    from_call.append((printed - called) * 1000)
    from_reply.append((printed - replied) * 1000)
follower.terminate()
for name, values in (("from the call", from_call), ("from the reply", from_reply)):
    print(f"follow latency {name} over {rounds} rounds: median {statistics.median(values):.1f} ms, "
          f"slowest {max(values):.1f} ms (target: under 100 ms)")
PY
