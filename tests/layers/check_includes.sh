#!/usr/bin/env bash
# The layering of the source tree: platform/ includes no program header, core/ nothing above
# platform/, and media/ and records/ nothing from app/, flow/, play/ or frontend/ but the
# includes listed in allowed_includes.txt. Prints each offending include and fails on any.
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
allow=${2:-$(cd "$(dirname "$0")" && pwd)/allowed_includes.txt}
cd "$root" || exit 2
bad=0
check() {  # folder, regex of forbidden top folders
  local folder=$1 forbidden=$2
  while IFS=: read -r file _ line; do
    header=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$line")
    if grep -qE "^$file $header( |$)" "$allow" 2>/dev/null; then continue; fi
    echo "layering: $file includes $header"
    bad=1
  done < <(grep -rn -E "^[[:space:]]*#[[:space:]]*include \"($forbidden)/" "$folder" 2>/dev/null)
}
check platform 'core|app|media|records|play|flow|frontend|tools'
check core 'app|media|records|play|flow|frontend|tools'
check media 'app|play|flow|frontend|tools'
check records 'app|play|flow|frontend|tools'
# An allowance whose include is gone is removed from the list, so the list stays the truth.
while read -r file header _; do
  case "$file" in ''|'#'*) continue ;; esac
  grep -qE "#[[:space:]]*include \"$header\"" "$file" 2>/dev/null || { echo "layering: stale allowance $file $header"; bad=1; }
done < "$allow"
[ $bad -eq 0 ] && echo "layering: every include runs down the layers"
exit $bad
