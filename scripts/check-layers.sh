#!/bin/bash
# Checks that each folder includes only from itself and the folders below it:
#   engine <- design <- core <- graphics <- report <- ui, and cli on core,
#   graphics and report.
# And that nothing outside the engine analyses with a copy of the engine of
# its own: the analysis is reached through engine/api/EngineRoute.h.
# An include is resolved as the compiler does: beside the including file
# first, then under each folder's include root. Exits 1 and lists every
# include that reaches up or across.
set -u
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root" || exit 2

declare -A below=(
  [engine]="engine"
  [design]="design engine"
  [core]="core design engine"
  [graphics]="graphics core design engine"
  [report]="report graphics core design engine"
  [ui]="ui report graphics core design engine"
  [cli]="cli report graphics core design engine")
layers="engine design core graphics report ui cli"

# The folder an include names, or nothing when it is not one of ours (a
# generated file, a system header).
owner_of() {
  local folder=$1 name=$2 layer
  owner=""
  if [ -f "$folder/$name" ]; then
    owner=${folder%%/*}
    return
  fi
  for layer in $layers; do
    if [ -f "$layer/$name" ]; then
      owner=$layer
      return
    fi
  done
}

declare -A owners
faults=0
while IFS= read -r line; do
  file=${line%%:*}
  name=${line#*\"}
  name=${name%\"*}
  layer=${file%%/*}
  key="${file%/*}|$name"
  if [ -z "${owners[$key]+known}" ]; then
    owner_of "${file%/*}" "$name"
    owners[$key]=$owner
  fi
  owner=${owners[$key]}
  [ -z "$owner" ] && continue
  case " ${below[$layer]} " in
    *" $owner "*) ;;
    *) echo "$file includes $name from $owner/, which is not below $layer/"; faults=$((faults + 1)) ;;
  esac
done < <(grep -rHo --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*"' $layers)
while IFS= read -r line; do
  echo "$line: analyses past the one route to the engine (use engine::Analyse and its kin of api/EngineRoute.h)"
  faults=$((faults + 1))
done < <(grep -rnE --include='*.h' --include='*.cpp' 'api::(Analyse|Analyser|ReadSoilDescriptions|PressureAt)\b' \
  design core graphics report ui cli | grep -vE ':[0-9]+:[[:space:]]*//')
if [ "$faults" -ne 0 ]; then
  echo "check-layers: $faults places break the layers or the one route to the engine"
  exit 1
fi
echo "check-layers: every folder includes only from itself and the folders below it, and analyses through the one route"
