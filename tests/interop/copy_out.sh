#!/usr/bin/env bash
# Copies made by `quillbank copy-out`, read by Python's csv module, dbfread and python3-dbf.
# Usage: copy_out.sh QUILLBANK XBTOOL WORKDIR
set -euo pipefail
quillbank=$1
xbtool=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
rm -rf "$work" && mkdir -p "$work/home"
cd "$work"

"$xbtool" gen-contacts QB.DBF 800 --seed 11
"$py" "$here/copy_out_check.py" prepare QB.DBF
"$xbtool" reindex QB.DBF >/dev/null
export QUILLBANK_PRINTERS=pdf
"$quillbank" copy-out --home home --csv OUT.TXT QB.DBF
"$quillbank" copy-out --home home --csv ANSI.TXT --encoding windows-1252 QB.DBF
"$quillbank" copy-out --home home --dbf OUT.DBF QB.DBF
"$py" "$here/copy_out_check.py" check QB.DBF OUT.TXT OUT.DBF utf-8
"$py" "$here/copy_out_check.py" check QB.DBF ANSI.TXT OUT.DBF cp1252
