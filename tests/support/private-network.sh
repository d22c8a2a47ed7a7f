#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command inside a network namespace of its own, so that whatever the
# command sends, broadcasts included, never leaves this machine: only "lo" and
# a veth pair whose far end goes nowhere. The near end holds 10.99.0.1/24 and
# the default route, which makes 255.255.255.255 routable and looped back to
# local listeners. Exits 77 (a skip for CTest) when no namespace can be made.
set -u

if [ "${CORVANE_PRIVATE_NETWORK:-}" != "inside" ]; then
    if [ "$(id -u)" = 0 ]; then flags=-n; else flags=-rn; fi
    if ! reason=$(unshare $flags true 2>&1); then
        echo "SKIPPED: cannot make a private network namespace (unshare $flags: $reason)"
        exit 77
    fi
    CORVANE_PRIVATE_NETWORK=inside exec unshare $flags "$0" "$@"
fi

fail() {
    echo "SKIPPED: cannot set up the private network namespace: $1"
    exit 77
}
command -v ip >/dev/null 2>&1 || fail "the 'ip' command (iproute2) is missing"
ip link set lo up || fail "lo cannot be brought up"
ip link add corvane0 type veth peer name corvane1 || fail "no veth pair"
ip addr add 10.99.0.1/24 dev corvane0 || fail "no address on the veth pair"
ip link set corvane0 up && ip link set corvane1 up || fail "veth pair cannot be brought up"
ip route add default dev corvane0 || fail "no default route"

export CORVANE_PRIVATE_NETWORK
exec "$@"
