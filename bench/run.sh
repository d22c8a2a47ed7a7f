#!/bin/sh
# Builds the benchmarks (Release, into build-bench/) and runs every one of them
# inside a private network namespace (tests/support/private-network.sh): they
# send to 127.0.0.1 only, and refuse to run outside such a namespace. Prints
# the results table and writes it, with the machine it ran on, to
# bench/RESULTS.md. Exits 0 when every target is met, 1 when one is missed,
# 2 when a benchmark could not run, 77 when no namespace can be made.
#
#   bench/run.sh [BENCHMARK...]   (command_latency resend_turnaround port_search reply_storm startup)
set -eu
cd "$(dirname "$0")/.."
all="command_latency resend_turnaround port_search reply_storm startup"

if [ "${CORVANE_PRIVATE_NETWORK:-}" != "inside" ]; then
    ./scripts/install-packages.sh bench
    cmake --preset bench
    cmake --build --preset bench
    exec tests/support/private-network.sh "$0" "$@"
fi

selected=${*:-$all}
results=build-bench/results.txt
: >"$results"
export CORVANE_BENCH_RESULTS="$PWD/$results"
export QT_QPA_PLATFORM=offscreen
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
status=0
for name in $selected; do
    echo "--- bench_$name"
    code=0
    build-bench/bench/bench_$name --benchmark_enable_random_interleaving=true --benchmark_color=false \
        >"build-bench/bench_$name.log" 2>&1 || code=$?
    grep -E "_median|^RESULT" "build-bench/bench_$name.log" || true
    if [ "$code" -gt "$status" ]; then status=$code; fi
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

table() {
    echo "| what | measure | the program | the floor | ratio | target | |"
    echo "|---|---|---|---|---|---|---|"
    while IFS='|' read -r row measure program floor ratio target verdict; do
        echo "| $row | $measure | $program | $floor | $ratio | $target | $verdict |"
    done <"$results"
}

{
    echo "# Benchmark results"
    echo
    echo "Machine: $(nproc) cores ($(lscpu | sed -n 's/^Model name: *//p' | head -1)), $(free -g | awk '/^Mem:/ {print $2}') GiB," \
        "Linux $(uname -r), Qt $(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo '?')," \
        "g++ $(g++ -dumpfullversion), Google Benchmark $(dpkg-query -W -f='${Version}' libbenchmark-dev 2>/dev/null || echo '?')."
    echo "Load average before and after: $load_before / $load_after. Run on $(date -u +%Y-%m-%d)."
    echo
    echo "Reproduce with \`bench/run.sh\` (it builds Release into build-bench/ and runs everything inside"
    echo "tests/support/private-network.sh, on 127.0.0.1 only). Times are medians of the repetitions;"
    echo "a ratio is the program's figure over the floor's, measured in the same run."
    echo
    table
    echo
    cat <<'EOF'
What each row compares:

- **command latency**: one press of Play for unit 1 (`Controller::commandPressed`: both checks,
  framing, checksum, one datagram out through the real `UdpEndpoint` to a unit thread on
  127.0.0.1:2639 that drains) against one `sendto()` of the same 12 bytes on a plain socket.
- **resend turnaround**: a unit thread answers every frame with "E00"; one iteration is a press and
  its 41 resends, 42 frames out and 42 replies in, with the real `UdpEndpoint` and the controller on
  a Qt event loop; the floor is a blocking ping-pong of as many datagrams with the same unit thread.
- **port search**: every port from 1028 to 2638 held; `AutoPort` with a fresh `UdpEndpoint` ends on
  2640; the floor is the same 1612 attempts of `socket()` + `bind()`, each failed socket closed.
  Qt keeps one socket across failed binds, which is why the program needs less than this floor.
- **reply storm**: 100,000 datagrams (70 % of 1-32 bytes, 25 % of 33-512, 4.9 % of 513-1472,
  0.1 % of 1473-65507; every byte value) blasted at the real window (offscreen) and handled through
  the endpoint, the controller and the reply field; the floor reads them with a `recvfrom()` loop.
  The sender keeps either receiver's buffer from overflowing, so both take every datagram. A 10 ms
  timer runs on the window's event loop during the storms; memory is compared before and after
  them, from a steady state after one unmeasured storm.
- **start-up**: from starting the process until the window's first paint is done and its port is
  bound (offscreen), and the process's peak resident memory: the program (exactly what
  `app/main.cpp` does) against an empty `QWidget` with one bound `QUdpSocket`. The
  *text window (reference)* rows are not targets: a window of the same nineteen controls as plain
  widgets with their texts and no art. They show what showing text costs by itself (font database,
  font faces, shaping, glyphs), which the empty-window floor never pays.

Where a target is missed:

- **start-up**, time and peak memory. The empty-window floor never loads a font. Any window with
  text pays for fontconfig's list of every installed face, for opening faces, for shaping and for
  rasterising glyphs; the reference row measures exactly that with plain widgets, and it alone is
  most of the gap, in time and in memory. The rest is the program's own look: its background
  picture (one small PNG decoded), its face in two weights (two more faces opened), and fitting each
  field to its longest content. A window that shows text cannot come within 1.15 of this floor.
EOF
} >build-bench/RESULTS.md

echo
table
if [ -z "${*:-}" ]; then
    cp build-bench/RESULTS.md bench/RESULTS.md
    echo
    echo "Written to bench/RESULTS.md."
fi
exit "$status"
