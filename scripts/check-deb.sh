#!/usr/bin/env bash
# Installs the package on this machine, checks the installed programs and
# removes it again. Run as root.
#   check-deb.sh [PACKAGE.deb]   (default: the one in build-deb)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
deb=${1:-$(find "${CORVANE_DEB_BUILD_DIR:-$repo/build-deb}" -maxdepth 1 -name 'corvane_*.deb' | head -n 1)}
[ -n "$deb" ] && [ -f "$deb" ] || { echo "no package; run scripts/build-deb.sh first" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "run as root: the package is installed with apt-get" >&2; exit 1; }
deb=$(realpath "$deb")

failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

if dpkg-query -W -f='${Status}' corvane 2>/dev/null | grep -q "install ok installed"; then
    echo "corvane is already installed; not touching it" >&2
    exit 1
fi
scratch=$(mktemp -d /tmp/corvane-check-XXXXXX)
chmod 755 "$scratch"
cleanup() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq corvane >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap cleanup EXIT

version=$(dpkg-deb -f "$deb" Version)
echo "package $(basename "$deb"), version $version"
echo "depends: $(dpkg-deb -f "$deb" Depends)"
check "Depends lists the Qt runtime" sh -c "dpkg-deb -f '$deb' Depends | grep -q libqt6core6"
check "section and maintainer" sh -c "[ \"\$(dpkg-deb -f '$deb' Section)\" = hamradio ] && [ \"\$(dpkg-deb -f '$deb' Maintainer)\" = 'Corvane developers' ]"

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; echo "FAIL apt-get install"; exit 1; }
pass "apt-get install"
# Whatever runs below (as root too) must leave the system's bin folder as installed.
before=$(ls -A /usr/bin | sort | md5sum)

check "files under /usr" sh -c "dpkg -L corvane | grep -q '^/usr/bin/corvane-cli$' && ! dpkg -L corvane | grep -q '^/usr/local'"
# The desktop program needs a display; offscreen stands in on a headless machine.
said=$(QT_QPA_PLATFORM=offscreen corvane --version 2>&1 || true)
[ "$said" = "corvane $version" ] && pass "corvane --version" || fail "corvane --version said '$said'"
said=$(corvane-cli --version 2>&1 || true)
[ "$said" = "corvane-cli $version" ] && pass "corvane-cli --version" || fail "corvane-cli --version said '$said'"
check "corvane-radio-sim installed" test -x /usr/bin/corvane-radio-sim
check "desktop entry" test -f /usr/share/applications/corvane.desktop
if command -v desktop-file-validate >/dev/null 2>&1; then
    check "desktop-file-validate" desktop-file-validate /usr/share/applications/corvane.desktop
else
    echo "skip desktop-file-validate (desktop-file-utils not installed)"
fi
# The entry's Exec line starts the program: it stays up at the access-code window.
starts_from_entry() {
    local exec_line
    exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/corvane.desktop | head -n 1)
    [ -n "$exec_line" ] || return 1
    (cd "$scratch" && QT_QPA_PLATFORM=offscreen HOME="$scratch" timeout 3 $exec_line >/dev/null 2>&1)
    [ $? -eq 124 ]
}
check "desktop entry starts the program" starts_from_entry
check "icon" test -f /usr/share/icons/hicolor/scalable/apps/corvane.svg
check "udev rule" test -f /usr/lib/udev/rules.d/99-corvane-serial.rules
check "udev access rule" test -f /usr/lib/udev/rules.d/70-corvane-cable-access.rules
check "man page" test -f /usr/share/man/man1/corvane-cli.1.gz
if command -v man >/dev/null 2>&1; then
    check "man corvane-cli" sh -c "man -P cat corvane-cli 2>/dev/null | grep -q 'COMMANDS'"
fi

# An ordinary user cannot write /usr/bin, so the CLI must keep its files in
# the per-user folder and leave the install folder alone.
user=nobody
home=$scratch/home
mkdir -p "$home"
chown "$user" "$home" "$scratch"
if setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups \
        env -i HOME="$home" PATH=/usr/bin:/bin corvane-cli image build "$scratch/image.bin" >"$scratch/cli.log" 2>&1; then
    pass "corvane-cli image build as $user"
else
    fail "corvane-cli image build as $user: $(cat "$scratch/cli.log")"
fi
check "working files in ~/.local/share/corvane" test -f "$home/.local/share/corvane/Port.txt"
check "no working files in /usr/bin" sh -c "[ ! -e /usr/bin/Port.txt ] && [ \"\$(ls -A /usr/bin | sort | md5sum)\" = '$before' ]"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq corvane >/dev/null 2>&1 && pass "apt-get purge" || fail "apt-get purge"
check "programs gone" sh -c "! command -v corvane-cli >/dev/null"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
