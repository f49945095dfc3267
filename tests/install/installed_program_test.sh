#!/usr/bin/env bash
# Installs the built zenx package and runs it as a desktop user would:
# /usr/bin/zenx started offscreen with a fresh HOME adds a user through the
# log-on page (ADD_USER_HOOK, preloaded), and the user file must then be in
# that user's data directory with mode 0600 while the installed content stays
# as it was. As root the package goes in with dpkg -i (and out again after);
# otherwise it is unpacked with dpkg -x into a throw-away root and run from
# there, which the program finds its content from just the same.
#   installed_program_test.sh PACKAGE_DIR ADD_USER_HOOK
set -u
packages=${1:?package directory}
hook=${2:?hook library}
fail() { echo "FAIL: $*" >&2; exit 1; }

command -v dpkg >/dev/null || { echo "no dpkg here" >&2; exit 77; }
deb=$(ls "$packages"/zenx_*.deb 2>/dev/null | head -n 1)
[[ -f "$deb" ]] || fail "no zenx package in $packages"

work=$(mktemp -d)
root=""
installed_here=no
cleanup() {
    [[ $installed_here == yes ]] && dpkg --purge zenx >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

if [[ $(id -u) -eq 0 ]]; then
    dpkg-query -W -f='${Status}' zenx 2>/dev/null | grep -q "install ok installed" ||
        installed_here=yes
    # Another dpkg run on the machine holds the lock for a while at most.
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        out=$(dpkg -i "$deb" 2>&1) && break
        grep -q "lock" <<<"$out" || fail "dpkg -i: $out"
        sleep 3
    done
    dpkg-query -W -f='${Status}' zenx | grep -q "install ok installed" || fail "not installed: $out"
else
    root="$work/root"
    dpkg -x "$deb" "$root" || fail "dpkg -x"
fi
share="$root/usr/share/zenx"
program="$root/usr/bin/zenx"
[[ -L "$program" && -x "$program" ]] || fail "$program is not a link to the program"
for f in D/IDbRecs.dat D/iq.dat zernox2.dat a/0.wav I/B; do
    [[ -e "$share/$f" ]] || fail "content $f missing"
done

# The files that desktops read must be valid where they were installed.
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/example.korvane.zernox2.desktop" ||
        fail "desktop file"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/example.korvane.zernox2.metainfo.xml" \
        >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail "metainfo"; }
fi

# A packaged copy registers no uninstaller: "uninstall" starts nothing and
# leaves no trace in the user's home.
mkdir -p "$work/home-uninstall"
env -u XDG_DATA_HOME HOME="$work/home-uninstall" QT_QPA_PLATFORM=offscreen \
    ZENX_INSTANCE_SUFFIX="install-$$" timeout 30 "$program" UNINSTALL 2>/dev/null ||
    fail "zenx uninstall failed"
[[ -x "$root/usr/lib/zenx/zenx" && -z "$(ls -A "$work/home-uninstall")" ]] ||
    fail "zenx uninstall did something"

snapshot() { (cd "$share" && find . -printf '%p %s %m %T@\n' | sort | md5sum); }
before=$(snapshot)

home="$work/home"
mkdir -p "$home" "$work/tmp"
out=$(env -u XDG_DATA_HOME -u XDG_RUNTIME_DIR HOME="$home" TMPDIR="$work/tmp" \
        QT_QPA_PLATFORM=offscreen ZENX_SCREEN=800x600 ZENX_INSTANCE_SUFFIX="install-$$" \
        LD_PRELOAD="$hook" ZENX_HOOK_USER=Eva ZENX_HOOK_PASSWORD=kiwi7 \
        timeout 60 "$program" 2>"$work/stderr")
status=$?
[[ $status -eq 0 ]] || { cat "$work/stderr" >&2; fail "zenx exited with $status"; }
[[ "$out" == added ]] || fail "the hook said: $out"

data="$home/.local/share/zenx"
users="$data/User/users.dat"
[[ -f "$users" ]] || fail "no $users"
[[ $(stat -c %a "$users") == 600 ]] || fail "users.dat has mode $(stat -c %a "$users")"
[[ $(stat -c %a "$data/User") == 700 ]] || fail "User/ has mode $(stat -c %a "$data/User")"
[[ $(stat -c %a "$data") == 700 ]] || fail "zenx/ has mode $(stat -c %a "$data")"
grep -q '^\[Eva\.Data\]' "$users" || fail "Eva is not in users.dat"
grep -q '^Pw=kiwi7' "$users" || fail "Eva's password is not in users.dat"

[[ "$(snapshot)" == "$before" ]] || fail "/usr/share/zenx changed"
for d in "$root/usr/lib/zenx" "$share"; do
    [[ ! -e "$d/User" && ! -e "$d/T" ]] || fail "$d got user data"
done
# The private temporary folder went with the program (the single-instance
# lock files stay, as they always do).
left=$(find "$work/tmp" -mindepth 1 -maxdepth 1 -name 'zenx-*')
[[ -z "$left" ]] || fail "left in the temporary folder: $left"
echo "installed $(basename "$deb") ${root:+under $root }and added a user in $data"
