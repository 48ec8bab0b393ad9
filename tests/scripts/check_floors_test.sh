#!/usr/bin/env bash
# scripts/check-floors.sh on small made-up trees: an include down a floor passes; one back up,
# one across the same floor, and a folder on no floor fail, each naming the file and line.
# Usage: check_floors_test.sh <path of check-floors.sh>
set -euo pipefail
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
expect() {  # expect <pass|fail> <case> <text the output must hold>
    local want=$1 name=$2 text=$3 out rc=0
    out=$(bash "$check" "$work/$name" 2>&1) || rc=$?
    if { [ "$want" = pass ] && [ $rc -ne 0 ]; } || { [ "$want" = fail ] && [ $rc -eq 0 ]; } ||
        [[ $out != *"$text"* ]]; then
        echo "FAILED $name: rc $rc, output: $out"
        failures=$((failures + 1))
    else
        echo "ok $name"
    fi
}
tree() {  # tree <case> <file> <include>...
    local name=$1 file=$2
    shift 2
    mkdir -p "$work/$name/engine" "$work/$name/$(dirname "$file")"
    echo '#pragma once' >"$work/$name/engine/state.h"
    for inc in "$@"; do echo "#include \"$inc\"" >>"$work/$name/$file"; done
}

tree down mainwindow/frmtidewyn.cpp engine/state.h output/daypages.h platform/forms.h
expect pass down "Includes run only down the floors."
tree up output/frmsunrise.cpp engine/state.h mainwindow/frmtidewyn.h
expect fail up "output/frmsunrise.cpp:2: output/ (floor 3) includes mainwindow/ (floor 4)"
tree across adjustment/frmharmadjust.cpp output/daypages.h
expect fail across "adjustment/frmharmadjust.cpp:1: adjustment/ (floor 3) includes output/ (floor 3)"
tree newfolder charts/chart.cpp engine/state.h
expect fail newfolder "charts/ holds C++ files but stands on no floor"

exit $((failures > 0))
