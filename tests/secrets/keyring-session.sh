#!/bin/sh
# Runs keyring tests inside a private session bus, with a throw-away home: with a Secret
# Service unlocked by a test password (MODE keyring), or with none on the bus (MODE none).
# Exits 77, which CTest counts as skipped, when gnome-keyring-daemon or dbus-run-session is
# missing.
# Usage: keyring-session.sh MODE TEST-PROGRAM GTEST-FILTER
set -eu
mode=$1 program=$2 filter=$3

if [ "${FURROW_INSIDE_BUS:-}" != 1 ]; then
    for tool in gnome-keyring-daemon dbus-run-session dbus-send; do
        if ! command -v "$tool" >/dev/null; then
            echo "keyring tests skipped: $tool is missing (apt-get install gnome-keyring dbus)"
            exit 77
        fi
    done
    FURROW_INSIDE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

home=$(mktemp -d)
daemon=
cleanup() {
    [ -n "$daemon" ] && kill "$daemon" 2>/dev/null
    rm -rf "$home"
}
trap cleanup EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config"
export XDG_RUNTIME_DIR="$home/run"
mkdir -p -m 700 "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
# An unlock prompt must fail at once rather than wait for someone at a display.
unset DISPLAY WAYLAND_DISPLAY

has_owner() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets | grep -q 'boolean true'
}

if [ "$mode" = keyring ]; then
    printf 'a test password' | gnome-keyring-daemon --foreground --unlock \
        --components=secrets >/dev/null 2>&1 &
    daemon=$!
    tries=0
    until has_owner; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "gnome-keyring-daemon did not take org.freedesktop.secrets" >&2
            exit 1
        fi
        sleep 0.1
    done
fi

"$program" --gtest_filter="$filter"
