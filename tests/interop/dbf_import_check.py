#!/usr/bin/env python3
# Tables written by python3-dbf (dBase III with a DBT memo, FoxPro with an FPT memo, Visual
# FoxPro), imported by `quillbank import --dbf`, then read back with dbfread: dates by value,
# numbers and logicals as text, memos whole, records marked deleted left out.
#   dbf_import_check.py make FOLDER
#   dbf_import_check.py check CONTACTS.DBF
import datetime
import sys

import dbf
import dbfread

FIELDS = ("LAST_NAME C(25); FIRST_NAME C(20); STREET C(30); ZIP N(5,0); PHONE C(15); "
        "SINCE D; MEMBER L; COMMENTS M")
ROWS = [
    ("Müller", "Zoë", '5" Main St, Apt 2', 2134, "555-0101", datetime.date(1999, 12, 31), True,
     "first line\r\nsecond line"),
    ("Gone", "Marked", "1 Deleted Rd", 99999, "", datetime.date(2000, 1, 1), False, "x"),
    ("Smith", "Al", "", 501, "555-0102", None, False, ""),
]
KINDS = {"DB3.DBF": "db3", "FOX.DBF": "fp", "VFP.DBF": "vfp"}


def fail(msg):
    print("dbf_import_check: " + msg, file=sys.stderr)
    sys.exit(1)


def make(folder):
    for name, kind in KINDS.items():
        table = dbf.Table(folder + "/" + name, FIELDS, dbf_type=kind, codepage="cp1252")
        table.open(dbf.READ_WRITE)
        for row in ROWS:
            table.append(row)
        dbf.delete(table[1])
        table.close()


def check(contacts):
    got = sorted((r["LNAME"], r["FNAME"], r["STREET"], r["ZIP"], r["PHONE"], r["DATE"],
                  r["MEMO"] or "")
                 for r in dbfread.DBF(contacts, encoding="cp1252", char_decode_errors="strict"))
    expected = []
    for last, first, street, zip_code, phone, since, _member, memo in ROWS:
        if last == "Gone":
            continue
        expected.append((last, first, street, str(zip_code), phone, since, memo))
    expected = sorted(expected * len(KINDS))
    if got != expected:
        fail("imported records differ:\n%r\n%r" % (got, expected))
    print("dbf import: %d records from dBase III, FoxPro and Visual FoxPro tables" % len(got))


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2])
    else:
        check(sys.argv[2])
