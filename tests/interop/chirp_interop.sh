#!/bin/sh
# Exports a rich channel table with corvane-cli and has CHIRP's own CSV
# reader load it. Exit 77 (skipped) when CHIRP is not installed.
# Usage: chirp_interop.sh CORVANE_CLI
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cli=$1
# The system interpreter: Debian's chirp package installs for it only.
python=${CORVANE_CHIRP_PYTHON:-/usr/bin/python3}

if [ ! -x "$python" ] || ! "$python" -c 'import chirp.drivers.generic_csv' >/dev/null 2>&1; then
    echo "SKIP: $python cannot import chirp.drivers.generic_csv; install the Debian package chirp"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
awk -v dir="$work" -f "$here/make_working_files.awk" "$here/rich_table.txt"
"$cli" --folder "$work" export-csv "$work/rich.csv" >"$work/report.txt"
cat "$work/report.txt"
rejects=$(sed -n 's/^CHIRP.s CTCSS list lacks the tones\{0,1\} of channels\{0,1\} \(.*\): CHIRP will not load th.*$/\1/p' "$work/report.txt")
if [ -z "$rejects" ]; then
    echo "FAIL: the export did not name the channels CHIRP will not take"
    exit 1
fi
"$python" "$here/chirp_reader_check.py" "$work/rich.csv" "$here/rich_table_expect.json" --reported-rejects "$rejects"
