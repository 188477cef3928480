# Shared by the scripts that reach the maker's web host: each runs itself again inside a network namespace of
# its own, whose hosts file points that host at 127.0.0.1, where the script's own server listens.
# shellcheck shell=bash

# Runs script $1 with the arguments after it inside a new network namespace and exits with its status; returns
# at once when called inside the namespace already. Exits 77 (skipped) without root or iproute2.
enter_network_namespace() {
    [ -z "${TARNWICK_E2E_NETNS:-}" ] || return 0
    if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null; then
        echo "SKIP: a network namespace needs root and iproute2"
        exit 77
    fi
    local name="tarnwick-e2e-$$" status=0
    ip netns add "$name" || { echo "SKIP: cannot make a network namespace"; exit 77; }
    mkdir -p "/etc/netns/$name"
    echo "127.0.0.1 www.example.com example.com" >"/etc/netns/$name/hosts"
    TARNWICK_E2E_NETNS=$name ip netns exec "$name" bash "$@" || status=$?
    ip netns delete "$name" || true
    rm -rf "/etc/netns/$name"
    exit $status
}
