#!/usr/bin/env bash
# scripts/check-layers on a small tree of its own: an include up the layers
# hidden by a comment inside the line or by a continued line is found, a
# folder added to the table is checked, and sqlite3 in comments and texts is
# no call.
#   check-layers-cases.sh <check-layers>
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{engine,common,extra}
cat >"$tree/layers.txt" <<'TABLE'
# library  folders
low        engine
high       common
TABLE
echo '#pragma once' >"$tree/common/Global.h"
echo '#pragma once' >"$tree/extra/Extra.h"
echo '#include "engine/Sql.h"' >"$tree/main.cpp"
cat >"$tree/engine/Sql.h" <<'SRC'
#pragma once
#include /* the settings */ "common/Global.h"
#include \
    "../common/Global.h"
// sqlite3 and #include "common/Global.h" in a comment, continued \
#include "common/Global.h"
SRC
cat >"$tree/common/Global.cpp" <<'SRC'
/* only the engine calls sqlite3,
   #include <sqlite3.h> */
const char* name = "sqlite3 "; // sqlite3
char quote = '"'; int n = 1'000; int sqlite3_open();
SRC

expect() { # $1: the table's second line; the rest: the lines check-layers must print
    local high=$1 said status=0
    shift
    sed -i "\$s/.*/$high/" "$tree/layers.txt"
    said=$("$check" "$tree" 2>&1) || status=$?
    if [ "$said" != "$(printf '%s\n' "$@")" ]; then
        printf 'check-layers said (exit %d):\n%s\nexpected:\n' "$status" "$said"
        printf '%s\n' "$@"
        exit 1
    fi
}
expect "high common" \
    "check-layers: the folder extra is in no layer; add it to $tree/layers.txt"
expect "high common extra" \
    "common/Global.cpp:4: SQLite outside the engine: char quote = '\"'; int n = 1'000; int sqlite3_open();" \
    "engine/Sql.h:2: engine includes common (common/Global.h), a layer above it" \
    "engine/Sql.h:3: engine includes common (../common/Global.h), a layer above it" \
    "check-layers: 3 breach(es) of the layers in $tree/layers.txt"
