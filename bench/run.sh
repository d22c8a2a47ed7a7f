#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the benchmarks (Release, into build-bench/) and runs every one of them
# inside a private network namespace (tests/support/private-network.sh): they
# send to 127.0.0.1 only, and refuse to run outside such a namespace. Prints
# the results table; a run of them all also writes it, with the machine it ran
# on, into bench/RESULTS.md. Exits 0 when every target is met, 1 when one is
# missed, 2 when a benchmark could not run, 77 when no namespace can be made.
#
#   bench/run.sh [BENCHMARK...]   (click_to_wire resend_turnaround port_search reply_storm startup)
#   bench/run.sh --check          every one, RESULTS.md left alone; exits 0 also
#                                 when a target is missed (the test suite's use)
set -eu
cd "$(dirname "$0")/.."
all="click_to_wire resend_turnaround port_search reply_storm startup"
check=
if [ "${1:-}" = "--check" ]; then
    check=yes
    shift
    set -- $all
fi

if [ "${CORVANE_PRIVATE_NETWORK:-}" != "inside" ]; then
    ./scripts/install-packages.sh bench
    cmake --preset bench
    cmake --build --preset bench
    exec tests/support/private-network.sh "$0" ${check:+--check} "$@"
fi

results=build-bench/results.txt
: >"$results"
export CORVANE_BENCH_RESULTS="$PWD/$results" QT_QPA_PLATFORM=offscreen
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
status=0
for name in ${*:-$all}; do
    echo "--- bench_$name"
    code=0
    build-bench/bench/bench_$name --benchmark_enable_random_interleaving=true --benchmark_color=false \
        >"build-bench/bench_$name.log" 2>&1 || code=$?
    grep -E "_median|^RESULT" "build-bench/bench_$name.log" || true
    if [ "$code" -gt 1 ]; then tail -n 5 "build-bench/bench_$name.log" >&2; fi
    if [ "$code" -gt "$status" ]; then status=$code; fi
done

{
    echo "Machine: $(nproc) cores ($(lscpu | sed -n 's/^Model name: *//p' | head -1)), $(free -g | awk '/^Mem:/ {print $2}') GiB," \
        "Linux $(uname -r), Qt $(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo '?')," \
        "g++ $(g++ -dumpfullversion), Google Benchmark $(dpkg-query -W -f='${Version}' libbenchmark-dev 2>/dev/null || echo '?')."
    echo "Load average before and after: $load_before / $(cut -d' ' -f1-3 /proc/loadavg). Run on $(date -u '+%Y-%m-%d %H:%M') UTC."
    echo
    echo "| what | measure | the program | the floor | ratio | target | |"
    echo "|---|---|---|---|---|---|---|"
    sed 's/|/ | /g; s/^/| /; s/$/ |/' "$results"
} >build-bench/table.md
echo
cat build-bench/table.md
if [ -z "${*:-}" ]; then
    # The table goes between the markers; the explanations around it stay.
    sed -i -e '/^<!-- table -->$/,/^<!-- end of table -->$/{//!d}' -e '/^<!-- table -->$/r build-bench/table.md' bench/RESULTS.md
    echo
    echo "Written to bench/RESULTS.md."
fi
if [ -n "$check" ] && [ "$status" -eq 1 ]; then status=0; fi
exit "$status"
