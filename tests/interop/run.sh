#!/usr/bin/env bash
# Interoperability: files the engine writes, read by independent readers, and theirs read by
# the engine. Usage: run.sh XBTOOL WORKDIR
set -euo pipefail
xbtool=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3  # the distribution's modules belong to this interpreter
rm -rf "$work" && mkdir -p "$work"
cd "$work"

"$xbtool" gen-contacts QB.DBF 1500 --seed 7
"$py" "$here/interop_check.py" read "$xbtool" QB.DBF
"$py" "$here/interop_check.py" tags QB.DBF

# Keys added one by one to a file the engine wrote earlier, with splits and new roots.
"$xbtool" add-contacts QB.DBF 700 --seed 8
"$py" "$here/interop_check.py" tags QB.DBF
"$py" "$here/interop_check.py" read "$xbtool" QB.DBF

# Packed and rebuilt: renumbered records, every tag written anew.
"$xbtool" pack QB.DBF >/dev/null
"$py" "$here/interop_check.py" tags QB.DBF
"$py" "$here/interop_check.py" read "$xbtool" QB.DBF

"$xbtool" index QB.DBF CHECK.IDX "upper(LNAME)+upper(FNAME)"
"$py" "$here/interop_check.py" idx QB.DBF CHECK.IDX "upper(LNAME)+upper(FNAME)"

"$py" "$here/interop_check.py" foreign "$xbtool" "$work"
echo "interop: all checks passed"
