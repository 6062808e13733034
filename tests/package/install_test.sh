#!/bin/sh
# Installs the build tree into a scratch DESTDIR with the package's /usr
# prefix and checks that every packaged file is there and usable.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
stage=$(mktemp -d "${TMPDIR:-/tmp}/corvane-install-XXXXXX")
trap 'rm -rf "$stage"' EXIT INT TERM

fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$stage cmake --install "$build" --prefix /usr >"$stage.log" 2>&1 || { cat "$stage.log" >&2; rm -f "$stage.log"; fail "cmake --install"; }
rm -f "$stage.log"
root=$stage/usr

for program in corvane-cli corvane-radio-sim; do
    [ -x "$root/bin/$program" ] || fail "bin/$program missing"
done
[ -f "$root/lib/udev/rules.d/99-corvane-serial.rules" ] || fail "udev rule missing"
rule=$root/lib/udev/rules.d/99-corvane-serial.rules
# FTDI, Prolific, CH340 and CP210x cables.
for chip in 0403:6001 067b:2303 1a86:7523 10c4:ea60; do
    grep -q "ATTRS{idVendor}==\"${chip%:*}\", ATTRS{idProduct}==\"${chip#*:}\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"" "$rule" ||
        fail "udev rule does not hide $chip from ModemManager"
done
access=$root/lib/udev/rules.d/70-corvane-cable-access.rules
[ -f "$access" ] || fail "udev access rule missing"
# Every cable the first rule names is opened to the user at the computer.
grep -o 'ATTRS{idVendor}=="[0-9a-f]*", ATTRS{idProduct}=="[0-9a-f]*"' "$rule" | while read -r ids; do
    grep -qF "$ids, TAG+=\"uaccess\"" "$access" || fail "udev access rule lacks $ids"
done

version=$("$root/bin/corvane-cli" --version) || fail "corvane-cli --version"
expected=$(sed -n 's/^project(Corvane VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
[ "$version" = "corvane-cli $expected" ] || fail "corvane-cli --version says '$version', expected 'corvane-cli $expected'"

page=$stage/corvane-cli.1
if [ -f "$root/share/man/man1/corvane-cli.1.gz" ]; then
    gzip -dc "$root/share/man/man1/corvane-cli.1.gz" >"$page" || fail "man page is no gzip file"
else
    [ -f "$root/share/man/man1/corvane-cli.1" ] || fail "man page missing"
    cp "$root/share/man/man1/corvane-cli.1" "$page"
fi
head -n 1 "$page" | grep -q '^\.TH CORVANE-CLI 1 ' || fail "man page has no title line"
# Every command the help lists has its entry in the page.
"$root/bin/corvane-cli" --help | sed -n '/^Commands:/,$p' | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p' | while read -r command; do
    sed 's/\\-/-/g' "$page" | grep -qxF "\\fB$command\\fR" || fail "man page lacks command $command"
done
if command -v groff >/dev/null 2>&1; then
    warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1) || fail "groff cannot format the man page"
    [ -z "$warnings" ] || fail "groff warns: $warnings"
fi

# The desktop program is optional in a build without the GUI.
if [ -e "$build/src/app/corvane" ] || [ -x "$root/bin/corvane" ]; then
    [ -x "$root/bin/corvane" ] || fail "bin/corvane missing"
    [ -f "$root/share/applications/corvane.desktop" ] || fail "desktop entry missing"
    [ -f "$root/share/icons/hicolor/scalable/apps/corvane.svg" ] || fail "icon missing"
    grep -q '^Exec=corvane$' "$root/share/applications/corvane.desktop" || fail "desktop entry does not start corvane"
    if command -v desktop-file-validate >/dev/null 2>&1; then
        desktop-file-validate "$root/share/applications/corvane.desktop" || fail "desktop entry invalid"
    fi
fi
echo "install tree complete"
