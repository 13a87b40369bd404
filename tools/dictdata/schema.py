"""Tables, columns, indexes of the dictionary database, and the plain-SQLite writer.

Column order matters: the program reads kest_hz positions 0-11, kest_cd 0-5,
kest_cy 0-24, kest_en 0-2, kest_xhy 0-2 and kest_sys 1-2 by index.
Every text column compares ASCII-case-insensitively (COLLATE NOCASE), as the
program's SQL was written for Jet.  See SCHEMA.md.
"""

import sqlite3

SITE = "http://www.qinghe.example"
SYS_ROW = (1, SITE + "/cdindex.asp?v=090000", SITE + "/cdad.asp")

T, I = "TEXT COLLATE NOCASE NOT NULL DEFAULT ''", "INTEGER"

TABLES = {
    "kest_hz": [
        ("id", "INTEGER PRIMARY KEY"), ("name", T), ("pinyin", T), ("pinyins", T), ("pycode", T),
        ("part", T), ("strokes", I), ("bhm", T), ("structure", T), ("trad", T), ("explain", T),
        ("english", T),
        # beyond the template's eleven
        ("tone", I), ("level", I), ("tgh", I), ("ucode", T), ("zhuyin", T), ("bhmsrc", T),
        ("strokesrc", T),
    ],
    "kest_cd": [
        ("ID", "INTEGER PRIMARY KEY AUTOINCREMENT"), ("word", T), ("szm", T), ("content", T),
        ("ord", T), ("spell", T),
        ("en", T), ("freq", "REAL"), ("pysrc", T),
    ],
    "kest_cy": [
        ("cyid", "INTEGER PRIMARY KEY AUTOINCREMENT"), ("ChengYu", T), ("PingYin", T), ("content", T),
        ("js", T), ("derivation", T), ("ChuChu", T), ("dg", T), ("samples", T), ("jl", T),
        ("pyjm", T), ("jyc", T), ("fyc", T), ("dmm", T), ("yf", T), ("rw", T), ("yw", T),
        ("ew", T), ("xy", T), ("gs", T), ("cy", I), ("nd", I), ("jg", I), ("cx", I), ("sici", T),
    ],
    "kest_en": [
        ("ID", "INTEGER PRIMARY KEY AUTOINCREMENT"), ("en", T), ("zh", T),
        ("phonetic", T), ("definition", T), ("pos", T), ("collins", I), ("oxford", I),
        ("tag", T), ("bnc", I), ("frq", I), ("exchange", T),
    ],
    "kest_xhy": [
        ("ID", "INTEGER PRIMARY KEY AUTOINCREMENT"), ("first1", T), ("end1", T),
    ],
    "kest_sys": [
        ("id", "INTEGER PRIMARY KEY"), ("startpage", T), ("adpage", T),
    ],
}

INDEXES = [
    ("kest_hz", "name"), ("kest_hz", "pycode"), ("kest_hz", "part"), ("kest_hz", "strokes"),
    ("kest_hz", "bhm"), ("kest_cd", "word"), ("kest_cd", "szm"), ("kest_cy", "ChengYu"),
    ("kest_cy", "pyjm"), ("kest_en", "en"), ("kest_xhy", "first1"),
]


def ddl():
    out = []
    for t, cols in TABLES.items():
        out.append("CREATE TABLE %s (\n  %s\n)" % (t, ",\n  ".join("%s %s" % c for c in cols)))
    for t, c in INDEXES:
        out.append("CREATE INDEX ix_%s_%s ON %s(%s)" % (t[5:], c.lower(), t, c))
    return out


def columns(table):
    return [c for c, _ in TABLES[table]]


def create(conn):
    for stmt in ddl():
        conn.execute(stmt)


def insert(conn, table, rows):
    """Insert dict rows; missing text columns become '', missing integers NULL.
    IDs are assigned 1, 2, … in row order."""
    cols = columns(table)
    kinds = dict(TABLES[table])
    body = cols[1:]

    def val(r, c):
        v = r.get(c)
        if v is None and kinds[c].startswith("TEXT"):
            return ""
        return v

    sql = "INSERT INTO %s (%s) VALUES (%s)" % (table, ", ".join(body), ", ".join("?" * len(body)))
    conn.executemany(sql, ([val(r, c) for c in body] for r in rows))
    return len(rows)


def write_plain(path, data):
    """data: {table: rows}.  Writes a fresh plain SQLite file; returns counts."""
    conn = sqlite3.connect(path)
    try:
        conn.execute("PRAGMA journal_mode = OFF")
        conn.execute("PRAGMA synchronous = OFF")
        create(conn)
        counts = {}
        for t in TABLES:
            if t == "kest_sys":
                conn.execute("INSERT INTO kest_sys VALUES (?, ?, ?)", SYS_ROW)
                counts[t] = 1
                continue
            counts[t] = insert(conn, t, data.get(t, []))
        conn.commit()
        # no ANALYZE: without statistics every equality/prefix search takes its index
    finally:
        conn.close()
    return counts
