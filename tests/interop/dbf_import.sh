#!/usr/bin/env bash
# Tables written by python3-dbf imported by `quillbank import --dbf`, checked with dbfread.
# Usage: dbf_import.sh QUILLBANK XBTOOL WORKDIR
set -euo pipefail
quillbank=$1
xbtool=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3
rm -rf "$work" && mkdir -p "$work/home"
cd "$work"

"$xbtool" gen-contacts QB.DBF 0
"$py" "$here/dbf_import_check.py" make "$work"
for table in DB3.DBF FOX.DBF VFP.DBF; do
  "$quillbank" import --home home --dbf "$table" QB.DBF
done
"$xbtool" check QB.DBF >/dev/null
"$py" "$here/dbf_import_check.py" check QB.DBF
