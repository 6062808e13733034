#!/usr/bin/env bash
# Checks the C++ lines changed since this branch left main against .clang-format
# and prints what clang-format would make of them. Older lines are left as they
# are, so a change never drags a reformatting of its whole file along.
#   scripts/check-format.sh [base]    base: the commit to compare with (default: merge-base with main)
set -euo pipefail
cd "$(dirname "$0")/.."

FORMAT_DIFF=$(command -v clang-format-diff || command -v clang-format-diff-14 || true)
if ! command -v clang-format >/dev/null || [ -z "$FORMAT_DIFF" ]; then
  echo "format: clang-format is not installed, not checked"
  exit 0
fi
base=${1:-}
if [ -z "$base" ]; then
  for branch in main origin/main; do
    base=$(git merge-base HEAD "$branch" 2>/dev/null) && break
  done
fi
if [ -z "$base" ]; then
  echo "format: no main branch to compare with, not checked"
  exit 0
fi

changes=$(git diff -U0 --no-color "$base" -- '*.cpp' '*.h' | "$FORMAT_DIFF" -p1 -binary "$(command -v clang-format)")
if [ -n "$changes" ]; then
  printf '%s\n' "$changes"
  echo "format: the lines above differ from .clang-format (clang-format-diff -p1 -i applies it)" >&2
  exit 1
fi
echo "format: changed lines follow .clang-format"
