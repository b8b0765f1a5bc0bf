#!/usr/bin/env bash
# Each man page renders without a single warning from groff or man, and
# has the sections a user looks for.
#
# Usage: man_pages_test.sh PAGE...
set -euo pipefail
command -v man >/dev/null || { echo "FAIL: man is not installed (scripts/setup installs man-db)"; exit 1; }

status=0
for page in "$@"; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || {
    echo "FAIL: $page does not render"; status=1; continue; }
  if [[ -n $warnings ]]; then
    echo "FAIL: $page: $warnings"
    status=1
  fi
  text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" ENVIRONMENT FILES EXAMPLES; do
    grep -qx "$section" <<<"$text" || { echo "FAIL: $page has no $section"; status=1; }
  done
done
exit $status
