#!/usr/bin/env python3
# Copies written by `quillbank copy-out`, read by independent readers: the text file by
# Python's csv module, the table by dbfread and python3-dbf. Both must give back the source's
# sixteen fields (and the table its memo) for every contact that is not soft-deleted.
#   copy_out_check.py prepare CONTACTS.DBF        puts awkward values into some records
#   copy_out_check.py check CONTACTS.DBF OUT.TXT OUT.DBF ENCODING
import csv
import sys

import dbf
import dbfread

FIELDS = ["PREFIX", "FNAME", "MIDDLE", "LNAME", "TITLE", "ORG", "STREET", "CITY", "STATE",
          "ZIP", "COUNTRY", "PHONE", "EMAIL", "FAX", "DATE", "NOTES"]

AWKWARD = [
    {"ORG": "Jones, Brown and Co", "STREET": '5" Main St, Apt 2', "NOTES": 'He said "hi"',
     "MEMO": "first line\r\nsecond, with \"quotes\""},
    {"FNAME": "Zoë", "CITY": "Zürich", "TITLE": "Señor, \"Boss\"", "MEMO": "é"},
    {"PREFIX": "Deleted", "LNAME": "Hidden"},
]


def fail(msg):
    print("copy_out_check: " + msg, file=sys.stderr)
    sys.exit(1)


def prepare(path):
    table = dbf.Table(path, codepage="cp1252")
    table.open(dbf.READ_WRITE)
    for record, values in zip(table, AWKWARD):
        with record:
            for name, value in values.items():
                setattr(record, name.lower(), value)
    table.close()


def text(value):
    if value is None:
        return ""
    if hasattr(value, "strftime"):
        return value.strftime("%m/%d/%Y")
    return str(value).rstrip()


def source_rows(path):
    rows = []
    for r in dbfread.DBF(path, encoding="cp1252", char_decode_errors="strict"):
        if text(r["PREFIX"]).upper() == "DELETED":
            continue
        rows.append(([text(r[f]) for f in FIELDS], r["MEMO"] or ""))
    return rows


def check(path, csv_path, dbf_path, encoding):
    expected = source_rows(path)
    with open(csv_path, encoding=encoding, newline="") as f:
        got = [row for row in csv.reader(f)]
    if sorted(got) != sorted(row for row, _ in expected):
        fail("the text copy reads differently in Python's csv module")
    if any(row == [] for row in got):
        fail("empty rows in the text copy")

    copied = [([text(r[f]) for f in FIELDS], r["MEMO"] or "")
              for r in dbfread.DBF(dbf_path, encoding="cp1252", char_decode_errors="strict")]
    if sorted(copied) != sorted(expected):
        fail("the table copy reads differently in dbfread")
    table = dbf.Table(dbf_path)
    table.open(dbf.READ_ONLY)
    other = []
    for r in table:
        values = [text(r[f.lower()]) for f in FIELDS]
        other.append((values, (r.memo or "").rstrip(" ") if r.memo else ""))
        for reserved in ("carrier", "seqno"):
            if r[reserved] not in (None, 0) and str(r[reserved]).strip() != "":
                fail("a reserved field of the table copy is not empty")
    table.close()
    if sorted(other) != sorted(expected):
        fail("the table copy reads differently in python3-dbf")
    print("copy out: %d records read the same in csv, dbfread and python3-dbf" % len(expected))


if __name__ == "__main__":
    if sys.argv[1] == "prepare":
        prepare(sys.argv[2])
    else:
        check(*sys.argv[2:6])
