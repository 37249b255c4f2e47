#!/usr/bin/python3
"""Checks the engine's files against independent xBase readers, and theirs against the engine.

  interop_check.py read XBTOOL DBF      the table reads the same in dbfread, dbf and the engine
  interop_check.py tags DBF             every tag, read by Perl, equals a sort computed here
  interop_check.py idx DBF IDX EXPR     a single-order index file, read by Perl, likewise
  interop_check.py foreign XBTOOL DIR   tables written by the dbf package read right in the engine
"""
import csv
import datetime
import io
import os
import struct
import subprocess
import sys

import dbf
import dbfread

HERE = os.path.dirname(os.path.abspath(__file__))

# The upper-case mapping of Windows-1252 as indexes use it: never str.upper(), which can
# change a text's length.
UP = bytearray(range(256))
for c in [*range(0x61, 0x7B), *range(0xE0, 0xF7), *range(0xF8, 0xFF)]:
    UP[c] = c - 0x20
UP[0x9A], UP[0x9C], UP[0x9E], UP[0xFF] = 0x8A, 0x8C, 0x8E, 0x9F

TAGS = [
    ("NAME", "C"), ("LNAME", "C"), ("FNAME", "C"), ("TITLE", "C"), ("ORG", "C"), ("STREET", "C"),
    ("CITY", "C"), ("STATE", "C"), ("ZIP", "C"), ("COUNTRY", "C"), ("PHONE", "C"), ("EMAIL", "C"),
    ("FAX", "C"), ("DATE", "C"), ("NOTES", "C"), ("PREFIX", "C"), ("MIDDLE", "C"), ("DELETED", "C"),
    ("JUSTSEQNO", "N"), ("SEQNO", "C"), ("STATEZIP", "C"),
]


def fail(msg):
    print("FAIL:", msg)
    sys.exit(1)


def raw_records(path):
    """Every record as a dict of field name -> stored bytes, plus its deletion mark, in order."""
    with open(path, "rb") as f:
        data = f.read()
    count, hlen, rlen = struct.unpack_from("<IHH", data, 4)
    fields, pos, off = [], 32, 1
    while data[pos] != 0x0D:
        name = data[pos:pos + 11].split(b"\0")[0].decode("ascii")
        width = data[pos + 16]
        fields.append((name, off, width))
        off += width
        pos += 32
    out = []
    for r in range(count):
        rec = data[hlen + r * rlen: hlen + (r + 1) * rlen]
        d = {name: rec[o:o + w] for name, o, w in fields}
        d["_deleted"] = rec[0:1] == b"*"
        out.append(d)
    return out


def expected_key(tag, r):
    up = lambda b: bytes(b).translate(UP)
    pad = lambda b, n: b[:n].ljust(n, b" ")
    if tag == "NAME":
        return pad(up(r["LNAME"].rstrip(b" ") + r["FNAME"]), 60)
    if tag == "LNAME":
        return up(r["LNAME"]) + up(r["FNAME"])
    if tag == "CITY":
        return up(r["CITY"] + r["STATE"])
    if tag == "DATE":
        return r["DATE"] if r["DATE"].strip(b" 0") else b" " * 8
    if tag == "DELETED":
        return b"T" if r["_deleted"] else b"F"
    if tag == "JUSTSEQNO":
        s = r["SEQNO"].strip()
        return float(s) if s else 0.0
    if tag == "SEQNO":
        s = r["SEQNO"].strip()
        return b"%6d" % (int(s) if s else 0) + r["STATE"] + r["ZIP"]
    if tag == "STATEZIP":
        return pad(up(r["STATE"].rstrip(b" ") + r["ZIP"]), 30)
    return up(r[tag])


def perl_entries(script, args):
    out = subprocess.run(["perl", os.path.join(HERE, script)] + args, check=True,
                         capture_output=True).stdout
    rows = []
    for line in out.split(b"\n"):
        if line:
            k, r = line.rsplit(b"\t", 1)
            rows.append((k, int(r)))
    return rows


def check_tags(dbf_path):
    recs = raw_records(dbf_path)
    cdx = os.path.splitext(dbf_path)[0] + ".CDX"
    for tag, kind in TAGS:
        exp = sorted((expected_key(tag, r), i + 1) for i, r in enumerate(recs))
        got = perl_entries("cdx_keys.pl", [cdx, tag, kind])
        if kind == "N":
            got = [(float(k), n) for k, n in got]
        else:
            exp = [(k.rstrip(b" "), n) for k, n in exp]
        if got != exp:
            first = next(i for i in range(min(len(got), len(exp)) + 1)
                         if i >= len(got) or i >= len(exp) or got[i] != exp[i])
            fail(f"tag {tag}: {len(got)} entries read, {len(exp)} expected; first difference at "
                 f"{first}: read {got[first] if first < len(got) else None}, "
                 f"expected {exp[first] if first < len(exp) else None}")
    print(f"tags: {len(TAGS)} tags of {len(recs)} records in exact order")


def check_idx(dbf_path, idx_path, expr):
    recs = raw_records(dbf_path)
    if expr != "upper(LNAME)+upper(FNAME)":
        fail("only the check-index key is known here")
    exp = sorted((expected_key("LNAME", r).rstrip(b" "), i + 1) for i, r in enumerate(recs))
    got = perl_entries("idx_keys.pl", [idx_path, "C"])
    if got != exp:
        fail(f"index file: {len(got)} entries read, {len(exp)} expected")
    print(f"idx: {len(got)} entries in exact order")


def engine_dump(xbtool, path):
    out = subprocess.run([xbtool, "dump", path], check=True, capture_output=True).stdout
    rows = list(csv.reader(io.StringIO(out.decode("utf-8"), newline="")))
    return rows[0], rows[1:]


def text_of(value):
    if value is None:
        return ""
    if isinstance(value, bool):
        return "T" if value else "F"
    if isinstance(value, (datetime.date,)):
        return value.strftime("%Y%m%d")
    if isinstance(value, float):
        return repr(value)
    if isinstance(value, bytes):
        value = value.decode("cp1252")
    return str(value).rstrip(" ")


def same_number(a, b):
    try:
        return abs(float(a or 0) - float(b or 0)) < 1e-9
    except ValueError:
        return False


def check_read(xbtool, path):
    header, rows = engine_dump(xbtool, path)
    t = dbf.Table(path)
    t.open(dbf.READ_ONLY)
    if t.codepage.name != "cp1252":
        fail(f"dbf reads the code page as {t.codepage.name}")
    if len(t) != len(rows):
        fail(f"dbf reads {len(t)} records, the engine {len(rows)}")
    deleted = 0
    for i, rec in enumerate(t):
        deleted += dbf.is_deleted(rec)
        for j, name in enumerate(header):
            got, mine = text_of(rec[name.lower()]), rows[i][j]
            if name in ("SEQNO",):
                ok = same_number(got, mine)
            elif name == "BEGIN":
                ok = mine in ("", got)
            else:
                ok = got == mine
            if not ok:
                fail(f"record {i + 1} field {name}: dbf reads {got!r}, the engine {mine!r}")
    t.close()
    r = dbfread.DBF(path, encoding="cp1252", char_decode_errors="strict", load=True)
    h = r.header
    if (h.dbversion, h.numrecords, h.language_driver) != (0xF5, len(rows), 3):
        fail(f"dbfread header: {hex(h.dbversion)} {h.numrecords} {h.language_driver}")
    if len(r.records) + len(r.deleted) != len(rows) or len(r.deleted) != deleted:
        fail(f"dbfread: {len(r.records)} live and {len(r.deleted)} deleted")
    memo_col = header.index("MEMO")
    memos = sorted((rec["MEMO"] or "") for rec in list(r.records) + list(r.deleted))
    if memos != sorted(row[memo_col] for row in rows):
        fail("dbfread reads other memo texts")
    print(f"read: {len(rows)} records ({deleted} deleted) the same in dbf, dbfread and the engine")


def check_foreign(xbtool, folder):
    made = []
    for kind, layout in (("fp", "NAME C(20); AMOUNT N(8,2); DAY D; FLAG L; NOTE M"),
                       ("db3", "NAME C(20); AMOUNT N(8,2); DAY D; FLAG L; NOTE M")):
        path = os.path.join(folder, f"foreign_{kind}.dbf")
        t = dbf.Table(path, layout, dbf_type=kind, codepage="cp1252")
        t.open(dbf.READ_WRITE)
        rows = [("Zo\u00eb M\u00fcller", 12.5, datetime.date(2026, 2, 28), True, "first memo\r\nsecond line"),
                ("plain", -3.25, None, False, ""),
                ("", 0, datetime.date(1999, 12, 31), None, "x" * 700)]
        for row in rows:
            t.append(row)
        dbf.delete(t[1])
        t.close()
        header, got = engine_dump(xbtool, path)
        if len(got) != len(rows):
            fail(f"{kind}: the engine reads {len(got)} records")
        for i, row in enumerate(rows):
            want = [row[0], "%.2f" % row[1], row[2].strftime("%Y%m%d") if row[2] else "",
                    {True: "T", False: "F", None: ""}[row[3]], row[4]]
            for j, name in enumerate(["NAME", "AMOUNT", "DAY", "FLAG", "NOTE"]):
                mine = got[i][header.index(name)]
                if name == "AMOUNT":
                    ok = same_number(mine, want[j])
                elif name == "FLAG" and want[j] == "":
                    ok = mine in ("", "F")
                else:
                    ok = mine == want[j]
                if not ok:
                    fail(f"{kind} record {i + 1} {name}: engine {mine!r}, expected {want[j]!r}")
        made.append(kind)
    print("foreign: " + ", ".join(made) + " tables read right by the engine")


def main():
    cmd = sys.argv[1]
    if cmd == "read":
        check_read(sys.argv[2], sys.argv[3])
    elif cmd == "tags":
        check_tags(sys.argv[2])
    elif cmd == "idx":
        check_idx(sys.argv[2], sys.argv[3], sys.argv[4])
    elif cmd == "foreign":
        check_foreign(sys.argv[2], sys.argv[3])
    else:
        fail("unknown command " + cmd)


if __name__ == "__main__":
    main()
