#!/usr/bin/env bash
# quarvel_pagelist: a good call lists the page; every bad call ends with a
# status of 2 (usage) or 1 (document) and a message that says what is wrong.
set -uo pipefail
pagelist=$1
sheet=$2
failures=0

# expect STATUS PATTERN ARGUMENTS...: the call exits with STATUS and its
# standard error (or output, for status 0) matches PATTERN.
expect() {
  local status=$1 pattern=$2
  shift 2
  local out err got
  out=$(mktemp) err=$(mktemp)
  "$pagelist" "$@" >"$out" 2>"$err"
  got=$?
  local text
  if [ "$status" -eq 0 ]; then text=$(cat "$out"); else text=$(cat "$err"); fi
  if [ "$got" -ne "$status" ] || ! grep -qE -- "$pattern" <<<"$text"; then
    echo "FAIL: quarvel_pagelist $* -> status $got, expected $status matching /$pattern/"
    sed 's/^/  | /' "$out" "$err"
    failures=$((failures + 1))
  fi
  rm -f "$out" "$err"
}

expect 0 '^pages 1$'                                "$sheet"
expect 0 '^size 1000 700$'                          "$sheet" 1
expect 2 'PAGE must be a page number of 1 or more, not "x"'           "$sheet" x
expect 2 'not "0"'                                  "$sheet" 0
expect 2 'not "-1"'                                 "$sheet" -1
expect 2 'not "1x"'                                 "$sheet" 1x
expect 2 'not " 1"'                                 "$sheet" " 1"
expect 2 'not "99999999999999999999"'               "$sheet" 99999999999999999999
expect 2 '^usage: quarvel_pagelist FILE.sla \[PAGE\]$'
expect 1 'Cannot show page 5 of .*: it has 1 page\.' "$sheet" 5
expect 1 'the file does not exist'                  "$sheet.missing"

[ "$failures" -eq 0 ] && echo "all pagelist cases passed"
exit $((failures > 0))
