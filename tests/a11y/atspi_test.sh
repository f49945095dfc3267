#!/usr/bin/env bash
# The real program on a virtual X server with a session bus and the AT-SPI
# registry of its own; a screen-reader client (PRESS_SCRIPT) presses its
# buttons through the accessibility bus. The program must then end by itself.
#   atspi_test.sh PROGRAM PRESS_SCRIPT
set -u
program=${1:?program}
script=${2:?press script}
fail() { echo "FAIL: $*" >&2; exit 1; }

if [[ -z "${ZENX_ATSPI_WORK:-}" ]]; then
    for tool in xvfb-run xauth dbus-run-session dbus-send; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup installs it)"
    done
    [[ -x /usr/libexec/at-spi-bus-launcher ]] || fail "at-spi2-core is missing"
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is missing"
    # Everything the session leaves (bus sockets, the program's data) stays
    # in one folder that goes at the end.
    work=$(mktemp -d)
    mkdir -m 700 "$work/run" "$work/home"
    # 24 bits: at xvfb-run's default of 8 the program would pick its
    # 256-colour pictures.
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME \
        ZENX_ATSPI_WORK="$work" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
        timeout -k 10 100 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
        dbus-run-session -- bash "$0" "$@"
    status=$?
    rm -rf "$work"
    exit $status
fi

work=$ZENX_ATSPI_WORK
launcher=""
zenx=""
registry=""
stop() { # pid: ask, then insist
    local pid=$1
    [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null || return 0
    kill "$pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}
cleanup() {
    stop "$zenx"
    # The registry is the accessibility bus's child, found by its bus name.
    stop "$registry"
    stop "$launcher"
}
trap cleanup EXIT
bus_call() { # bus destination path member [args]: the reply's last word
    dbus-send --bus="$1" --dest="$2" --print-reply=literal "$3" "$4" "${@:5}" 2>/dev/null |
        awk '{print $NF}'
}

# The accessibility bus and its registry, started here (with this
# environment) before anything asks for them.
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
for _ in $(seq 100); do
    [[ $(bus_call "$DBUS_SESSION_BUS_ADDRESS" org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus) == true ]] && break
    sleep 0.1
done
a11y_bus=$(dbus-send --session --dest=org.a11y.Bus --print-reply=literal /org/a11y/bus \
    org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ')
[[ -n "$a11y_bus" ]] || fail "no accessibility bus"
dbus-send --bus="$a11y_bus" --dest=org.freedesktop.DBus --print-reply /org/freedesktop/DBus \
    org.freedesktop.DBus.StartServiceByName string:org.a11y.atspi.Registry uint32:0 \
    >/dev/null 2>&1
registry=$(bus_call "$a11y_bus" org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.atspi.Registry)
[[ -n "$registry" ]] || fail "the AT-SPI registry did not start"

# The program in a folder of its own, so User/ and T/ are made there.
mkdir -p "$work/program" "$work/tmp"
cp "$program" "$work/program/zenx" || fail "cannot copy $program"
env TMPDIR="$work/tmp" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    ZENX_SCREEN=800x600 ZENX_INSTANCE_SUFFIX="atspi-$$" \
    "$work/program/zenx" >"$work/zenx.log" 2>&1 &
zenx=$!

/usr/bin/python3 "$script" || { cat "$work/zenx.log" >&2; fail "the screen-reader client failed"; }

# "Afsluiten" closes the window; the about window stays two seconds.
for _ in $(seq 200); do kill -0 "$zenx" 2>/dev/null || break; sleep 0.1; done
kill -0 "$zenx" 2>/dev/null && fail "the program is still running after Afsluiten"
wait "$zenx"
status=$?
zenx=""
[[ $status -eq 0 ]] || { cat "$work/zenx.log" >&2; fail "the program ended with $status"; }
[[ -d "$work/program/User" ]] || fail "the program made no User folder"
echo "ok"
