#!/usr/bin/env bash
# The include check itself: a tiny tree that keeps the layers passes; one upward include in each
# lower folder fails and is named; an allowance lets one through; a stale allowance fails.
set -u
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mk() { mkdir -p "$tmp/$1"; for f in platform core media records; do mkdir -p "$tmp/$1/$f"; done
       echo '#include "platform/win32/win32.h"' > "$tmp/$1/core/a.cpp"
       echo '#include "core/report.h"' > "$tmp/$1/media/a.cpp"
       echo '#include "media/surface.h"' > "$tmp/$1/records/a.cpp"; : > "$tmp/$1/allow.txt"; }
mk clean
"$here/check_includes.sh" "$tmp/clean" "$tmp/clean/allow.txt" >/dev/null || fail "a clean tree is refused"
for case in "platform:core/report.h" "core:app/main_window.h" "media:play/chara.h" "records:frontend/scene_title.h" "media:app/scene.h"; do
  folder=${case%%:*}; header=${case#*:}
  mk "up_$folder"; echo "#include \"$header\"" > "$tmp/up_$folder/$folder/b.cpp"
  out=$("$here/check_includes.sh" "$tmp/up_$folder" "$tmp/up_$folder/allow.txt") && fail "$folder including $header passes"
  grep -q "$folder/b.cpp includes $header" <<<"$out" || fail "no line names $folder/b.cpp: $out"
done
mk allowed; echo '#include "flow/flow.h"' > "$tmp/allowed/records/b.cpp"
echo "records/b.cpp flow/flow.h  # a reason" > "$tmp/allowed/allow.txt"
"$here/check_includes.sh" "$tmp/allowed" "$tmp/allowed/allow.txt" >/dev/null || fail "an allowed include is refused"
mk stale; echo "records/b.cpp flow/flow.h  # gone" > "$tmp/stale/allow.txt"
"$here/check_includes.sh" "$tmp/stale" "$tmp/stale/allow.txt" >/dev/null && fail "a stale allowance passes"
echo "include check: all cases behave"
