#!/usr/bin/env bash
# Keeps the layers honest: a folder may include only from the folders below it.
set -u
root="${1:-$(dirname "$0")/..}"
cd "$root/src" || exit 1
declare -A allowed=(
  [core]="core"
  [platform]="core platform"
  [model]="core model"
  [host]="core platform host"
  [control]="core platform host model control"
  [render]="core platform host model control render"
  [input]="core platform host model control render input"
  [persist]="core platform host model control render input persist"
  [pages]="core platform host model control render input persist pages"
)
status=0
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    inc=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"${line#*:}")
    case " ${allowed[$layer]} " in
      *" $inc "*) ;;
      *) echo "layer violation: $file includes from $inc/"; status=1 ;;
    esac
  done < <(grep -rHE '#include "[^/"]+/' "$layer" --include='*.h' --include='*.cpp' | sed -E 's/:[[:space:]]*/:/')
done
exit $status
