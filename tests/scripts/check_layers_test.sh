#!/usr/bin/env bash
# The layer check on small source trees: what it must refuse and accept.
set -euo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check_layers.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# tree <name> <file>=<line>... : a project whose files hold one line each.
tree() {
  local root="$tmp/$1"; shift
  mkdir -p "$root/src"
  for entry in "$@"; do
    mkdir -p "$(dirname "$root/src/${entry%%=*}")"
    printf '%s\n' "${entry#*=}" > "$root/src/${entry%%=*}"
  done
  echo "$root"
}

# Downward includes, main.cpp and includes of system headers pass.
ok=$(tree ok 'output/B.h=#include "compose/A.h"' 'compose/A.h=#include "scanner/T.h"' \
  'scanner/T.h=#include <vector>' 'main.cpp=#include "output/B.h"' 'base/S.cpp=#include "base/S.h"')
bash "$script" "$ok" > "$tmp/out" || fail "a downward tree is refused: $(cat "$tmp/out")"
[ ! -s "$tmp/out" ] || fail "a downward tree prints: $(cat "$tmp/out")"

# An upward include, also written with blanks around the hash, is refused with
# its place.
for line in '#include "output/B.h"' '  #  include "output/B.h"'; do
  up=$(tree "up$RANDOM" "compose/A.cpp=$line" 'output/B.h=')
  if bash "$script" "$up" > "$tmp/out"; then fail "upward include passes: $line"; fi
  grep -qx 'src/compose/A.cpp:1: includes output/B.h, which is above compose' "$tmp/out" ||
    fail "unexpected report: $(cat "$tmp/out")"
done

# A folder that is no layer is refused.
stray=$(tree stray 'extra/X.h=')
if bash "$script" "$stray" > "$tmp/out"; then fail "a folder outside the layers passes"; fi
grep -q 'src/extra/X.h: folder extra is not one of the layers' "$tmp/out" || fail "unexpected report: $(cat "$tmp/out")"
echo "ok"
