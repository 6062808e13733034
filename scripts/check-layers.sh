#!/usr/bin/env bash
# Names every #include under src/ and tools/ that points up or sideways: each
# folder may include itself and the folders listed for it, nothing else.
#   scripts/check-layers.sh        exit 1 and one line per wrong include
set -euo pipefail
cd "$(dirname "$0")/.."

CORE="model image link store"
declare -A ALLOWED=(
  # The core, bottom to top.
  [model]="model"
  [image]="image model"
  [link]="link image model"
  [store]="store link image model"
  [report]="report image model"
  [fleet]="fleet store link image model"
  [store/workbook]="store/workbook fleet store model"
  [session]="session store/workbook $CORE"
  # The faces, on top of the core and the session.
  [link/qt]="link/qt link image model"
  [editor]="editor session report $CORE"
  [forms]="forms editor link/qt session report fleet store/workbook $CORE"
  [app]="app forms editor link/qt session report fleet store/workbook $CORE"
  [cli]="cli link/qt session report fleet store/workbook $CORE"
  [web]="web session report fleet store/workbook $CORE"
  [tools/radio-sim]="model image"
)

# One awk pass over every quoted include with a folder in it.
table=$(for from in "${!ALLOWED[@]}"; do echo "$from=${ALLOWED[$from]}"; done)
grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z]+/' src tools/radio-sim --include='*.h' --include='*.cpp' |
  TABLE="$table" awk '
    function layer(path) {
      if (path ~ /^store\/workbook\//) return "store/workbook"
      if (path ~ /^link\/qt\//) return "link/qt"
      if (path ~ /^tools\/radio-sim\//) return "tools/radio-sim"
      sub(/\/.*/, "", path)
      return path
    }
    BEGIN {
      n = split(ENVIRON["TABLE"], rows, "\n")
      for (i = 1; i <= n; ++i) {
        split(rows[i], kv, "=")
        allowed[kv[1]] = " " kv[2] " "
      }
    }
    {
      split($0, parts, ":")
      file = parts[1]; line = parts[2]
      match($0, /"[^"]*"/)
      target = substr($0, RSTART + 1, RLENGTH - 2)
      from = file; sub(/^src\//, "", from); from = layer(from)
      to = layer(target)
      if (!(from in allowed)) { print file ": folder without a layer; add it to scripts/check-layers.sh"; bad = 1; next }
      if (index(allowed[from], " " to " ") == 0) { print file ":" line ": includes " target " (" from " may not include " to ")"; bad = 1 }
    }
    END { exit bad }' >&2 || exit 1
echo "layers: every include points down"
