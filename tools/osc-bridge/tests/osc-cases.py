#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# corvane-osc against simulated units, inside a private network namespace (run
# it through tests/support/private-network.sh), driven by Debian's oscsend and
# by the OSC encoder below for what oscsend cannot say (one sender's port kept
# for its answers, bundles, broken datagrams, a forged source port).
# Usage: osc-cases.py CORVANE_OSC CORVANE_UNIT_SIM
import atexit, math, re, shutil, socket, struct, subprocess, sys, tempfile, time

osc, sim = sys.argv[1:3]
if not shutil.which("oscsend"):
    print("SKIPPED: needs oscsend (apt-get install liblo-tools)")
    sys.exit(77)
work = tempfile.mkdtemp()
running, failures = [], []


@atexit.register
def clean_up():
    for p in running:
        p.kill()
    shutil.rmtree(work)

UNIT = "10.99.0.1"  # the address the simulator answers from
FEEDBACK = ("/clip", "/transport", "/video-muted", "/audio-muted")


def pad(b):
    return b + b"\0" * (4 - len(b) % 4)


def encode(path, *args):
    """An OSC message; an argument is a value (int i, float f, str s, bool T/F) or (tag, value)."""
    tags, data = ",", b""
    for a in args:
        tag, v = a if isinstance(a, tuple) else ({bool: "T" if a else "F", int: "i", float: "f", str: "s"}[type(a)], a)
        tags += tag
        data += {"i": lambda: struct.pack(">i", v), "h": lambda: struct.pack(">q", v), "f": lambda: struct.pack(">f", v),
                 "d": lambda: struct.pack(">d", v), "s": lambda: pad(v.encode()), "S": lambda: pad(v.encode()),
                 "T": lambda: b"", "F": lambda: b""}[tag]()
    return pad(path.encode()) + pad(tags.encode()) + data


def bundle(*elements):
    return b"#bundle\0" + bytes(7) + b"\1" + b"".join(struct.pack(">i", len(e)) + e for e in elements)


def decode(d):
    """(path, args) of an answer."""
    def string(at):
        end = d.index(b"\0", at)
        return d[at:end].decode("latin-1"), (end // 4 + 1) * 4
    path, at = string(0)
    tags, at = string(at)
    args = []
    for t in tags[1:]:
        if t == "i":
            args.append(struct.unpack(">i", d[at:at + 4])[0]); at += 4
        else:
            s, at = string(at); args.append(s)
    return (path, *args)


def start(argv, log, ready):
    p = subprocess.Popen(argv, stdout=open(log, "w"), stderr=subprocess.STDOUT)
    running.append(p)
    for _ in range(50):
        if ready in open(log).read():
            return p
        time.sleep(0.1)
    sys.exit(f"{argv[0]} did not start: {open(log).read()}")


def stop(p):
    p.terminate(); p.wait()


def unit(options="", name="sim"):
    return start([sim, "--ids", "1,2", *options.split()], f"{work}/{name}.log", "ready")


def frames(name="sim"):
    return [f"{i}@{c}" for i, c in re.findall(r'^rx .* id=(\S+) cmd="(.*?)\\r"', open(f"{work}/{name}.log").read(), re.M)]


def bridge(*options, port=9000, name="osc"):
    return start([osc, "--listen", str(port), "--timeout", "300", *options], f"{work}/{name}.log", "taking OSC")


def client(port=0):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind(("127.0.0.1", port))
    return s


def answers(s, wait=0.6, count=None):
    s.settimeout(0.05)
    got, end = [], time.time() + wait
    while time.time() < end and (count is None or len(got) < count):
        try:
            got.append(decode(s.recv(65536)))
        except socket.timeout:
            pass
    return got


def check(name, got, want):
    if got != want:
        failures.append(f"{name}:\n  got  {got}\n  want {want}")


R = ("R", UNIT)
ERR_ARGS = "play takes no argument, or one that presses when it is not zero: int, float, double or true/false"
ERR_CLIP = "Invalid clip number! (a string or symbol of 0 to 5 digits, or a whole number 0-99999)"
ERR_PATH = ("/error", "not a path this bridge takes: /unit/ID/COMMAND, COMMAND one of select, play, loop, pause, still, "
            "stop, mute-video, unmute-video, mute-audio, unmute-audio, state")
# name | simulator options | the message (oscsend's arguments, or bytes) | frames the units got | answers (feedback aside)
CASES = [
    ("play", "", "/unit/1/play", ["1@PL"], [("/unit/1/reply", *R)]),
    ("press i 1", "", "/unit/1/play i 1", ["1@PL"], [("/unit/1/reply", *R)]),
    ("press h 2", "", "/unit/1/play h 2", ["1@PL"], [("/unit/1/reply", *R)]),
    ("press f 1.0", "", "/unit/1/play f 1.0", ["1@PL"], [("/unit/1/reply", *R)]),
    ("press d -1", "", "/unit/1/play d -1", ["1@PL"], [("/unit/1/reply", *R)]),
    ("press T", "", "/unit/1/play T", ["1@PL"], [("/unit/1/reply", *R)]),
    ("release i 0", "", "/unit/1/play i 0", [], []),
    ("release f 0.0", "", "/unit/1/play f 0.0", [], []),
    ("release F", "", "/unit/1/play F", [], []),
    ("release of state", "", "/unit/1/state F", [], []),
    ("press s", "", "/unit/1/play s 1", [], [("/unit/1/error", ERR_ARGS)]),
    ("two press values", "", "/unit/1/play ii 1 1", [], [("/unit/1/error", ERR_ARGS)]),
    ("press NaN", "", encode("/unit/1/play", math.nan), [], [("/unit/1/error", ERR_ARGS)]),
    ("select s", "", "/unit/1/select s 00012", ["1@00012SE"], [("/unit/1/reply", *R)]),
    ("select S", "", "/unit/1/select S 007", ["1@007SE"], [("/unit/1/reply", *R)]),
    ("select i", "", "/unit/1/select i 99999", ["1@99999SE"], [("/unit/1/reply", *R)]),
    ("select h", "", "/unit/1/select h 0", ["1@0SE"], [("/unit/1/reply", *R)]),
    ("select f whole", "", "/unit/1/select f 12.0", ["1@12SE"], [("/unit/1/reply", *R)]),
    ("select d whole", "", "/unit/1/select d 3", ["1@3SE"], [("/unit/1/reply", *R)]),
    ("select f not whole", "", "/unit/1/select f 12.5", [], [("/unit/1/error", ERR_CLIP)]),
    ("select i too large", "", "/unit/1/select i 100000", [], [("/unit/1/error", ERR_CLIP)]),
    ("select d negative", "", "/unit/1/select d -1", [], [("/unit/1/error", ERR_CLIP)]),
    ("select s six digits", "", "/unit/1/select s 123456", [], [("/unit/1/error", ERR_CLIP)]),
    ("E00 to everything", "--errors 50", "/unit/1/play", ["1@PL"] * 42, [("/unit/1/resends-spent", "E00", UNIT)]),
    ("silent unit", "--silent", "/unit/1/play", ["1@PL"], [("/unit/1/timeout",)]),
    ("E00 then silence", "--errors 1 --silent", "/unit/1/play", ["1@PL"] * 2, [("/unit/1/timeout",)]),
    ("ID 127 awaits nothing", "", "/unit/127/stop", ["127@RJ"], []),
    ("bad ID", "", "/unit/128/play", [], [("/unit/128/error", "Invalid Tesk2 ID! (0-127)")]),
    ("bad ID of state", "", "/unit/1a/state", [], [("/unit/1a/error", "Invalid Tesk2 ID! (0-127)")]),
    ("unknown command", "", "/unit/1/dance", [], [("/unit/1/error", "unknown command: dance")]),
    ("upper case", "", "/Unit/1/play", [], [ERR_PATH]),
    ("trailing slash", "", "/unit/1/play/", [], [ERR_PATH]),
    ("pattern", "", "/unit/*/play", [], [("/error", "OSC address patterns are not taken: name one unit, or ID 127 "
                                           "for every unit (/unit/127/COMMAND)")]),
    ("own reply path", "", "/unit/1/reply s R", [], []),
    ("own feedback path", "", "/unit/7/transport s play", [], []),
    ("own root error", "", "/error s x", [], []),
    ("truncated", "", b"/unit/1/pl", [], []),
    ("type tags that do not match the data", "", b"/unit/1/select\0\0,i\0\0", [], []),
    ("bundle of two, in order", "", bundle(encode("/unit/1/play"), encode("/unit/2/stop")), ["1@PL", "2@RJ"],
     [("/unit/1/reply", *R), ("/unit/2/reply", *R)]),
    ("bundle with a broken element runs none", "", bundle(encode("/unit/1/play"), b"/unit/1/stop\0\0\0\0,X\0\0"), [], []),
]
# Answers go to --reply-to 9001, since oscsend's own port closes at once.
b = bridge("--reply-to", "9001")
listener = client(9001)
for name, options, message, want_frames, want_answers in CASES:
    u = unit(options)
    if isinstance(message, bytes):
        client().sendto(message, ("127.0.0.1", 9000))
    else:
        subprocess.run(["oscsend", "127.0.0.1", "9000", *message.split()], check=True)
    got = [a for a in answers(listener) if not a[0].endswith(FEEDBACK)]
    stop(u)
    check(name, (frames(), got), (want_frames, want_answers))
stop(b)

# Two senders, each told its own outcome at its own port, in the order sent.
b, u = bridge(), unit("--delay 100")
a, c = client(), client()
a.sendto(encode("/unit/1/play"), ("127.0.0.1", 9000))
time.sleep(0.05)
c.sendto(encode("/unit/2/stop"), ("127.0.0.1", 9000))
a.sendto(encode("/unit/1/dance"), ("127.0.0.1", 9000))  # invalid while play awaits
a.sendto(b"\0", ("127.0.0.1", 9000))
check("first sender", [x[0] for x in answers(a, 0.5) if not x[0].endswith(FEEDBACK)], ["/unit/1/error", "/unit/1/reply"])
check("second sender", [x for x in answers(c, 0.5, 1)], [("/unit/2/reply", *R)])
stop(u)

# Back to back and bundled, an E00 repeats the frame it answers: select first.
for how, datagrams in [("back to back", [encode("/unit/1/select", "12"), encode("/unit/1/play")]),
                       ("bundled", [bundle(encode("/unit/1/select", "12"), encode("/unit/1/play"))])]:
    u = unit("--errors 1")
    for d in datagrams:
        a.sendto(d, ("127.0.0.1", 9000))
    got = [x for x in answers(a, 0.5) if not x[0].endswith(FEEDBACK)]
    stop(u)
    check(how, (frames(), got), (["1@12SE", "1@12SE", "1@PL"], [("/unit/1/reply", *R)] * 2))

# Feedback: what each acknowledged command changed, to the sender and to --feedback.
stop(b)
b, u = bridge("--feedback", "127.0.0.1:9002"), unit()
watcher = client(9002)
unknown = ["unknown"] * 4
a.sendto(encode("/unit/1/state"), ("127.0.0.1", 9000))
check("state before any command", [x[1] for x in answers(a, 0.5, 4)], unknown)
for command, state in [(("select", "0042"), [42, "stop", "unknown", "unknown"]), (("play",), [42, "play", "unknown", "unknown"]),
                       (("loop",), [42, "loop", "unknown", "unknown"]), (("pause",), [42, "pause", "unknown", "unknown"]),
                       (("still",), [42, "still", "unknown", "unknown"]), (("mute-video",), [42, "still", 1, "unknown"]),
                       (("mute-audio",), [42, "still", 1, 1]), (("unmute-video",), [42, "still", 0, 1]),
                       (("unmute-audio",), [42, "still", 0, 0]), (("stop",), [42, "stop", 0, 0])]:
    a.sendto(encode("/unit/2/" + command[0], *command[1:]), ("127.0.0.1", 9000))
    want = [(f"/unit/2{leaf}", v) for leaf, v in zip(FEEDBACK, state)]
    check(f"feedback after {command[0]}", (answers(a, 0.5, 5)[1:], answers(watcher, 0.2, 4)), (want, want))
a.sendto(encode("/unit/02/state"), ("127.0.0.1", 9000))
check("state", answers(a, 0.5, 4), want)
check("state to none but the asker", answers(watcher, 0.2), [])
stop(u)

# A full queue: a silent unit holds one command, 64 wait, the rest are refused at once.
u = unit("--silent")
for _ in range(70):
    a.sendto(encode("/unit/1/play"), ("127.0.0.1", 9000))
check("busy", answers(a, 0.2), [("/unit/1/error", "busy: 64 commands wait already; this one was not sent")] * 5)
stop(u)
stop(b)

# Logs escape network bytes, and drop lines come once a second with a count.
b = bridge()
a.sendto(encode("/unit/1\x1b[2J\n/reply"), ("127.0.0.1", 9000))
for _ in range(30):
    a.sendto(b"/x", ("127.0.0.1", 9000))
time.sleep(1.5)
log = open(f"{work}/osc.log").read()
check("escaped", ("\\x1B[2J\\x0A/reply" in log, "\x1b" in log), (True, False))
check("drop lines", re.findall(r"dropped (?:29 more )?.*not OSC", log), ["dropped a datagram that is not OSC",
                                                                         "dropped 29 more in the last second: a datagram that is not OSC"])

# Two bridges and one forged datagram, from the second bridge's port: one answer, then quiet.
b2 = bridge(port=9100, name="osc2")
sniff = socket.socket(socket.AF_PACKET, socket.SOCK_RAW, socket.htons(0x0800))
sniff.bind(("lo", 0))
raw = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_UDP)
message = encode("/unit/1/dance")
raw.sendto(struct.pack(">HHHH", 9100, 9000, 8 + len(message), 0) + message, ("127.0.0.1", 0))
sniff.settimeout(0.05)
seen, end = 0, time.time() + 1.5
while time.time() < end:
    try:
        packet, where = sniff.recvfrom(65536)
    except socket.timeout:
        continue
    ports = struct.unpack(">HH", packet[34:38]) if packet[23] == 17 else ()
    seen += where[2] == socket.PACKET_HOST and set(ports) == {9000, 9100}
check("two bridges", (seen, open(f"{work}/osc2.log").read().count("dropped")), (2, 1))

# Units played here at two addresses: a reply too long for one datagram, and
# a reply from unit 2's address to a command for unit 1, heard at another.
b3 = bridge("--address", "127.0.0.1", port=9200, name="osc3")
units = {}
for at in ("127.0.0.1", "127.0.0.2"):
    units[at] = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    units[at].bind((at, 2639))
for name, path, reply, at, want in [
        ("long reply", "/unit/1/play", b"\1" * 60000 + b"R", "127.0.0.1",  # cut inside an escape: before it
         [("/unit/1/reply", "\\x01" * 16355 + "... [cut: 240001 bytes do not fit one datagram]", "127.0.0.1")]),
        ("another unit", "/unit/2/play", b"R", "127.0.0.2", [("/unit/2/reply", "R", "127.0.0.2")]),
        ("not from unit 2's address", "/unit/1/play", b"R", "127.0.0.2", [("/unit/1/timeout",)])]:
    a.sendto(encode(path), ("127.0.0.1", 9200))
    units["127.0.0.1"].settimeout(1)
    units[at].sendto(reply, units["127.0.0.1"].recvfrom(100)[1])
    check(name, [x for x in answers(a, 0.6) if not x[0].endswith(FEEDBACK)], want)
check("not taken, with a line", "not taken as unit 1" in open(f"{work}/osc3.log").read(), True)

# A peer that answers every answer: after a burst of 400 the bridge falls silent, and so both.
c.sendto(encode("/x"), ("127.0.0.1", 9200))
c.settimeout(0.05)
told, end = 0, time.time() + 2
while time.time() < end:
    try:
        c.recv(65536)
        told += 1
        c.sendto(encode("/x"), ("127.0.0.1", 9200))
    except socket.timeout:
        pass
check("rate limit", (400 <= told <= 500, "over the rate limit" in open(f"{work}/osc3.log").read()), (True, True))

for p in running:
    p.poll() is None and stop(p)
check("ends with status 0 on SIGTERM", b.returncode, 0)
print("\n".join(failures) or "all cases pass")
sys.exit(1 if failures else 0)
