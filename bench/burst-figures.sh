#!/usr/bin/env bash
# What a burst of prompts costs the running application: 300 prompts (or the given number) are
# appended to a transcript at once while the program runs under Xvfb with a private session bus,
# a StatusNotifierWatcher and a notification server (both dbusmock). Meanwhile the tray item's
# Title property is read over D-Bus every 50 ms; a read waits for the program's main thread, so
# its latency shows how long that thread was busy. Prints the time from the poll that saw the
# prompts to the store file holding the new total, the slowest and median tray reads from the
# append until a second after that, and the alerts the server received.
#
#   bench/burst-figures.sh [build-dir] [prompts]     defaults: build, 300
#
# Needs: xvfb-run, dbus-run-session, python3-dbusmock (scripts/setup-deps.sh test).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prompts=${2:-300}

source "$root/bench/session.sh"

start_tray_host
# A notification server that records every alert.
/usr/bin/python3 -m dbusmock --template notification_daemon \
    -p '{"capabilities": "actions body sound persistence"}' >"$work/notifications.log" 2>&1 &
pids+=($!)
wait_for_name org.freedesktop.Notifications

mkdir -p "$work/home/.claude/projects/-home-user-project"
transcript=$work/home/.claude/projects/-home-user-project/session.jsonl
: >"$transcript"
store=$work/home/.config/zentrel/zentrel.conf

# A store after a year of use: a count for each of 365 days and a full history of 50 sets.
/usr/bin/python3 - "$store" <<'EOF'
import datetime, json, os, sys, uuid
today = datetime.date.today()
days = {str(today - datetime.timedelta(days=n)): 20 + n % 40 for n in range(1, 366)}
reference = datetime.datetime(2001, 1, 1, tzinfo=datetime.timezone.utc)
now = datetime.datetime.now(datetime.timezone.utc)
history = [{"id": str(uuid.uuid4()).upper(), "reps": 10, "exerciseType": "Pushups",
            "date": (now - datetime.timedelta(days=n) - reference).total_seconds()} for n in range(50)]
def blob(value):  # as QSettings writes bytes holding commas and quotes
    text = json.dumps(value, separators=(",", ":")).replace("\\", "\\\\").replace('"', '\\"')
    return f'"@ByteArray({text})"'
os.makedirs(os.path.dirname(sys.argv[1]), exist_ok=True)
with open(sys.argv[1], "w") as f:
    f.write(f"[General]\ncompletedHistory={blob(history)}\ndailyPrompts={blob(days)}\n"
            f"pendingSets=0\ntotalRequests={sum(days.values())}\n")
EOF

# Each counted prompt is logged with the monotonic clock, so the first line marks the poll.
start_zentrel "$binary" QT_MESSAGE_PATTERN="%{time boot} %{message}"

/usr/bin/python3 - "$app" "$transcript" "$store" "$work/zentrel.log" "$prompts" <<'EOF'
import json, re, statistics, sys, threading, time, uuid
import dbus

app, transcript, store, log, prompts = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5])
bus = dbus.SessionBus()
item = bus.get_object(f"org.kde.StatusNotifierItem-{app}-1", "/StatusNotifierItem")
properties = dbus.Interface(item, "org.freedesktop.DBus.Properties")

reads = []  # (start, latency, title)
stop = threading.Event()

def probe():
    while not stop.is_set():
        start = time.monotonic()
        title = properties.Get("org.kde.StatusNotifierItem", "Title", timeout=60)
        reads.append((start, time.monotonic() - start, str(title)))
        time.sleep(max(0.0, start + 0.05 - time.monotonic()))

def stored_total():
    try:
        with open(store) as f:
            found = re.search(r"^totalRequests=(\d+)$", f.read(), re.M)
        return int(found.group(1)) if found else 0
    except OSError:
        return 0

prober = threading.Thread(target=probe)
prober.start()
time.sleep(1.0)  # reads while idle, for comparison

base = stored_total()
now = time.time()
lines = []
for i in range(prompts):
    stamp = time.strftime("%Y-%m-%dT%H:%M:%S", time.gmtime(now)) + f".{i % 1000:03d}Z"
    lines.append(json.dumps({"type": "user", "uuid": str(uuid.uuid4()), "timestamp": stamp,
                             "message": {"role": "user", "content": f"step {i}: refactor the parser"}}))
with open(transcript, "a") as f:
    f.write("\n".join(lines) + "\n")
appended = time.monotonic()

deadline = appended + 30
while stored_total() < base + prompts and time.monotonic() < deadline:
    time.sleep(0.002)
stored = time.monotonic()
time.sleep(1.0)
stop.set()
prober.join()

with open(log) as f:
    counted = [float(m.group(1)) for m in re.finditer(r"^\s*(\d+\.\d+) prompt in ", f.read(), re.M)]
# The log's clock is the monotonic one in whole milliseconds, kept in 32 bits.
wrap = 2**32 / 1000
now_mono = time.monotonic()
def to_mono(t):
    return t + wrap * round((now_mono - t) / wrap)

idle = [r for r in reads if r[0] + r[1] < appended]
burst = [r for r in reads if r[0] + r[1] >= appended and r[0] <= stored + 1.0]
notifications = dbus.Interface(bus.get_object("org.freedesktop.Notifications", "/org/freedesktop/Notifications"),
                               "org.freedesktop.DBus.Mock")
alerts = notifications.GetMethodCalls("Notify")

print(f"prompts appended at once:      {prompts}")
if counted:
    poll = to_mono(counted[0])
    print(f"counted (log lines):           {len(counted)}, within {1000 * (to_mono(counted[-1]) - poll):.0f} ms")
    print(f"poll to store holding total:   {1000 * (stored - poll):.0f} ms   (append to poll: {1000 * (poll - appended):.0f} ms)")
else:
    print("no prompt was counted")
print(f"store total:                   {stored_total()} (expected {base + prompts})")
for name, sample in (("idle", idle), ("burst", burst)):
    latencies = [1000 * r[1] for r in sample]
    if latencies:
        print(f"tray Title read, {name:5}:        max {max(latencies):.1f} ms, median {statistics.median(latencies):.1f} ms over {len(latencies)} reads")
print(f"tray title afterwards:         {reads[-1][2]!r}")
print(f"alerts received:               {len(alerts)}")
for call in alerts[:2] + alerts[-1:]:
    print(f"  {call[1][3]} / {call[1][4]}")
EOF
