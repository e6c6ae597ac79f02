#!/usr/bin/env bash
# Checks the include direction of the source folders. They form layers, lowest
# first: scanner, base, parser, compose, output. A file under src/<folder>/
# may include (#include "<folder>/...") only its own folder and the folders
# below it; src/main.cpp may include anything. Prints every include that
# breaks the order as "file:line: includes <path>, which is above <folder>"
# and exits 1 when there is one, else 0. The project folder is the script's
# parent, or the folder given as the first argument.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

layers=(scanner base parser compose output)

status=0
while IFS= read -r -d '' file; do
  rel=${file#src/}
  folder=${rel%%/*}
  rank=-1
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$folder" ] && rank=$i
  done
  if [ "$rank" -lt 0 ]; then
    echo "$file: folder $folder is not one of the layers (${layers[*]})"
    status=1
    continue
  fi
  # The folders above this one.
  above=" ${layers[*]:$((rank + 1))} "
  if ! awk -v file="$file" -v folder="$folder" -v above="$above" '
    match($0, /^[ \t]*#[ \t]*include[ \t]*"[^"\/]+\//) {
      path = substr($0, index($0, "\"") + 1)
      path = substr(path, 1, index(path, "\"") - 1)
      top = substr(path, 1, index(path, "/") - 1)
      if (index(above, " " top " ")) {
        printf "%s:%d: includes %s, which is above %s\n", file, FNR, path, folder
        bad = 1
      }
    }
    END { exit bad }' "$file"; then
    status=1
  fi
done < <(find src -mindepth 2 -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

exit $status
