#!/usr/bin/env bash
# Fails when an include runs back up a floor or across to another folder of the same floor, so
# that no folders can form a cycle. The floors, from the bottom:
#   1 engine   2 platform   3 output, maintenance, adjustment   4 mainwindow
#   5 app, tools, bench, tests (they may include anything below them, not one another)
# A folder that holds C++ files and is not on a floor fails too: give it one here.
# Usage: check-floors.sh [project folder]   (default: the folder above this script)
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

declare -A floor=([engine]=1 [platform]=2 [output]=3 [maintenance]=3 [adjustment]=3 [mainwindow]=4
    [app]=5 [tools]=5 [bench]=5 [tests]=5)

faults=0
fault() {
    echo "$1" >&2
    faults=$((faults + 1))
}

for dir in */; do
    dir=${dir%/}
    case $dir in build*) continue ;; esac
    [ -n "$(find "$dir" -name node_modules -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | head -n 1)" ] ||
        continue
    [ -n "${floor[$dir]:-}" ] || fault "$dir/ holds C++ files but stands on no floor (scripts/check-floors.sh)"
done

# Every include of a project header by its folder: "folder/file.h".
while IFS=: read -r file line text; do
    from=${file%%/*}
    [[ $text =~ \"([^/\"]+)/ ]] || continue
    to=${BASH_REMATCH[1]}
    [ "$from" = "$to" ] && continue
    [ -n "${floor[$to]:-}" ] || continue  # not a folder of the project
    [ -n "${floor[$from]:-}" ] || continue  # told above
    if ((floor[$to] >= floor[$from])); then
        fault "$file:$line: $from/ (floor ${floor[$from]}) includes $to/ (floor ${floor[$to]}): includes run only down the floors"
    fi
done < <(grep -rnE --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' \
    --exclude-dir='build*' --exclude-dir=node_modules . | sed 's#^\./##')

if ((faults > 0)); then
    echo "$faults fault(s) against the floors" >&2
    exit 1
fi
echo "Includes run only down the floors."
