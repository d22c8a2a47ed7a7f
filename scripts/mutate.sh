#!/bin/bash
# SPDX-License-Identifier: MIT
# Seeds small faults into the program, one at a time, and runs the test suite
# against each: a fault that no test notices marks behaviour the tests do not
# hold. The faults are listed in scripts/mutations.txt.
#
#   scripts/mutate.sh [--check] [BUILD_DIR] [NAME_PATTERN]
#
# For each fault (only those whose name matches NAME_PATTERN, a grep -E
# pattern, when given): its text is replaced in the source, BUILD_DIR
# (build-mutate unless given; configured when new) is rebuilt, and CTest runs
# every test but the end-to-end and package ones, each with a timeout of
# CORVANE_MUTATE_TIMEOUT seconds (120). A failing test catches the fault. A
# fault whose text is not found exactly once is "not applicable": the code
# has moved. The source is always restored from a saved copy, also when this
# script is stopped. --check only reports which faults apply.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
faults=$root/scripts/mutations.txt
check_only=no
if [ "${1:-}" = --check ]; then
    check_only=yes
    shift
fi
build=${1:-$root/build-mutate}
pattern=${2:-}
timeout=${CORVANE_MUTATE_TIMEOUT:-120}

# mutation.py COMMAND FAULTS ROOT [INDEX]: "names" lists "NAME FILE" a line;
# "apply" seeds fault INDEX and exits 3, with the reason, when it does not apply.
helper=$(mktemp)
saved=$(mktemp)
target=""
restore() {
    if [ -n "$target" ]; then
        cat "$saved" >"$target" # a new mtime, so the next build recompiles it
        target=""
    fi
}
finish() {
    restore
    rm -f "$helper" "$saved"
}
trap finish EXIT
trap 'exit 130' INT TERM

cat >"$helper" <<'PY'
import sys

def faults(path):
    """Blocks of 'NAME FILE', then '-' lines (the text), then '+' lines (its replacement)."""
    block = None
    for line in open(path, encoding="utf-8").read().split("\n") + [""]:
        if line.startswith("#"):
            continue
        if not line.strip():
            if block:
                yield block
            block = None
        elif block is None:
            name, file = line.split()
            block = {"name": name, "file": file, "find": [], "put": []}
        elif line[0] in "-+":
            block["find" if line[0] == "-" else "put"].append(line[1:])
        else:
            sys.exit(f"mutations: cannot read line: {line}")

command, path, root = sys.argv[1:4]
listed = list(faults(path))
if command == "names":
    for f in listed:
        print(f["name"], f["file"])
    sys.exit(0)
f = listed[int(sys.argv[4])]
file = f"{root}/{f['file']}"
find, put = "\n".join(f["find"]), "\n".join(f["put"])
try:
    text = open(file, encoding="utf-8").read()
except OSError:
    print("no such file")
    sys.exit(3)
if text.count(find) != 1:
    print(f"text found {text.count(find)} times")
    sys.exit(3)
open(file, "w", encoding="utf-8").write(text.replace(find, put))
PY

mapfile -t listed < <(python3 "$helper" names "$faults" "$root") || exit 2

if [ "$check_only" = no ]; then
    if [ ! -f "$build/CMakeCache.txt" ]; then
        nice cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_FLAGS=-O0 -DCORVANE_BENCHMARKS=OFF >/dev/null ||
            exit 2
    fi
    nice cmake --build "$build" >"$build/mutate-build.log" 2>&1 ||
        { echo "the unchanged source does not build: $build/mutate-build.log"; exit 2; }
fi

# The slow tests (labelled "slow", the OSC bridge's cases) run only once
# every quicker one has passed: most faults are caught within seconds, and
# a caught fault should not wait for a test it does not need.
run_suite() {
    ctest --test-dir "$build" -LE 'e2e|slow' -E '^package$' --timeout "$timeout" -j2 --stop-on-failure \
        >"$build/mutate-test.log" 2>&1 &&
        ctest --test-dir "$build" -L slow --timeout "$timeout" >>"$build/mutate-test.log" 2>&1
}
if [ "$check_only" = no ] && ! run_suite; then
    echo "the suite fails without any fault: $build/mutate-test.log"
    exit 2
fi

caught=0 missed=0 na=0 broken=0
printf '%-12s %-34s %s\n' RESULT FAULT DETAIL
for i in "${!listed[@]}"; do
    read -r name file <<<"${listed[$i]}"
    [ -z "$pattern" ] || grep -qE -- "$pattern" <<<"$name" || continue
    cp "$root/$file" "$saved" 2>/dev/null
    target=$root/$file
    if ! why=$(python3 "$helper" apply "$faults" "$root" "$i"); then
        target=""
        printf '%-12s %-34s %s\n' "n/a" "$name" "$file: $why"
        na=$((na + 1))
        continue
    fi
    if [ "$check_only" = yes ]; then
        restore
        printf '%-12s %-34s %s\n' applies "$name" "$file"
        continue
    fi
    if ! nice cmake --build "$build" >"$build/mutate-build.log" 2>&1; then
        result="no build" detail="$file does not compile with it"
        broken=$((broken + 1))
    elif run_suite; then
        result=MISSED detail="$file"
        missed=$((missed + 1))
    else
        result=caught
        detail="by $(sed -n '/tests FAILED:/{n;p;q}' "$build/mutate-test.log" | sed 's/^[[:space:]]*[0-9]* - //')"
        caught=$((caught + 1))
    fi
    restore
    printf '%-12s %-34s %s\n' "$result" "$name" "$detail"
done
[ "$check_only" = yes ] && exit 0
nice cmake --build "$build" >/dev/null 2>&1 # back to the unchanged program
echo "$caught caught, $missed missed, $na not applicable$([ "$broken" = 0 ] || echo ", $broken did not build")"
