#!/usr/bin/env python3
"""Check a built kestlib.dll against the coverage it must have.

    python3 tools/dictdata/check_db.py dll/kestlib.dll

Opens the file with the key through libsqlcipher (the library the program
uses), checks row counts, the 通用规范汉字表 coverage, a handful of entries and
the query plans of the program's searches.  Exit 1 with the list of failures.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import cipher  # noqa: E402
import schema  # noqa: E402

# measured in the sources; after de-duplication the tables hold slightly fewer
NEAR = {"kest_cy": 30722, "kest_en": 770611, "kest_xhy": 13894}
NEAR_TOLERANCE = 0.05

ENTRIES = [
    # (what, sql, expected first row)
    ("中 zhōng", "select pinyin, part, strokes, bhm, pycode from kest_hz where name = '中' and pinyin = 'zhōng'",
     ["zhōng", "丨", "4", "2512", "zhong"]),
    ("中 has both readings on its page", "select count(*), min(pinyins) from kest_hz where name = '中'",
     ["2", "zhōng，zhòng"]),
    ("我 code", "select bhm, strokes from kest_hz where name = '我'", ["3121534", "7"]),
    ("丁 code", "select bhm from kest_hz where name = '丁'", ["12"]),
    ("小 code", "select bhm from kest_hz where name = '小'", ["234"]),
    ("石 shí first", "select pinyin, pinyins from kest_hz where name = '石' order by id", ["shí", "shí，dàn"]),
    ("𬌗 from its parts", "select bhm, strokes from kest_hz where name = '𬌗'", ["1523341251", "10"]),
    ("𬒔 from its parts", "select bhm, strokes from kest_hz where name = '𬒔'", ["1325121212511", "13"]),
    ("绿 by pycode lv", "select count(*) from kest_hz where name = '绿' and pycode = 'lv'", ["1"]),
    ("花好月圆", "select PingYin, pyjm from kest_cy where ChengYu = '花好月圆'", ["huā hǎo yuè yuán", "hhyy"]),
    ("china", "select en from kest_en where en = 'china'", ["China"]),
    ("中国", "select szm, spell from kest_cd where word = '中国'", ["zg", "zhōng guó"]),
    ("一下 citation tone", "select spell from kest_cd where word = '一下'", ["yī xià"]),
    ("歇后语", "select end1 from kest_xhy where first1 = '阿斗当皇帝'", None),
    ("kest_sys", "select * from kest_sys", ["1", schema.SYS_ROW[1], schema.SYS_ROW[2]]),
]

PLANS = [
    "select * from kest_en where en like 'goo%'",
    "select * from kest_hz where bhm like '2512'",
    "select * from kest_hz where bhm like '2512%'",
    "select * from kest_hz where name = '中'",
    "select * from kest_hz where pycode = 'zhong'",
    "select * from kest_hz where part = '口'",
    "select * from kest_hz where strokes = 4",
    "select * from kest_cd where word = '中国'",
    "select * from kest_cd where word like '中国%'",
    "select * from kest_cd where szm = 'zg'",
    "select * from kest_cy where ChengYu like '花好%'",
    "select * from kest_cy where pyjm = 'hhyy'",
    "select * from kest_en where en = 'china'",
]


def uses_index(conn, sql):
    plan = " | ".join(r[-1] for r in conn.execute("EXPLAIN QUERY PLAN " + sql))
    return ("USING INDEX" in plan or "USING COVERING INDEX" in plan), plan


def check(path):
    fails, notes = [], []
    try:
        conn = cipher.Connection(path, key=cipher.KEY)
        conn.execute("select count(*) from sqlite_master")
    except cipher.CipherError as e:
        return ["cannot open %s with the key: %s" % (path, e)], notes
    with conn:
        def one(sql):
            try:
                rows = conn.execute(sql)
            except cipher.CipherError as e:
                fails.append("%s: %s" % (sql, e))
                return None
            return rows[0] if rows else None

        for t in schema.TABLES:
            cols = [r[1] for r in conn.execute("PRAGMA table_info(%s)" % t)]
            if cols[:len(schema.columns(t))] != schema.columns(t):
                fails.append("%s columns are %s" % (t, cols))
        counts = {t: int(one("select count(*) from %s" % t)[0]) for t in schema.TABLES}
        notes.append("rows: " + ", ".join("%s %d" % kv for kv in counts.items()))
        distinct = int(one("select count(distinct name) from kest_hz")[0])
        notes.append("distinct characters: %d" % distinct)
        if distinct < 20000:
            fails.append("only %d distinct characters (need 20000)" % distinct)
        words = int(one("select count(distinct word) from kest_cd")[0])
        notes.append("distinct words: %d" % words)
        if words < 250000:
            fails.append("only %d distinct words (need 250000)" % words)
        for t, n in NEAR.items():
            if abs(counts[t] - n) > n * NEAR_TOLERANCE:
                fails.append("%s has %d rows, expected near %d" % (t, counts[t], n))
        if counts["kest_sys"] != 1:
            fails.append("kest_sys has %d rows" % counts["kest_sys"])

        # 通用规范汉字表: the builder stores its number (kTGH) per character
        tg = one("select count(distinct name) from kest_hz where tgh between 1 and 8105")
        full = conn.execute("select name from kest_hz where tgh between 1 and 8105 group by name "
                            "having max(pinyin <> '' and pycode <> '' and part <> '' and strokes > 0 "
                            "and bhm <> '') = 0")
        notes.append("通用规范汉字表: %s present, %d without full data" % (tg[0], len(full)))
        if int(tg[0]) != 8105:
            fails.append("通用规范汉字表: %s of 8105 characters present" % tg[0])
        gaps = [r[0] for r in full]
        if gaps:
            fails.append("通用规范汉字表: %d characters lack pinyin, radical, strokes or code: %s"
                         % (len(gaps), "".join(gaps[:40])))

        srcs = {r[0]: int(r[1]) for r in conn.execute("select strokesrc, count(*) from kest_hz group by strokesrc")}
        notes.append("stroke counts by source (rows): %s" % srcs)
        if set(srcs) - {"unihan", "cnchar", "corrected", ""}:
            fails.append("kest_hz.strokesrc has unknown values: %s" % sorted(srcs))
        fixed = conn.execute("select distinct name from kest_hz where strokesrc = 'corrected'")
        notes.append("stroke counts corrected: %d (%s)" % (len(fixed), "".join(r[0] for r in fixed)))

        for what, sql, want in ENTRIES:
            got = one(sql)
            if got is None:
                fails.append("%s: no row (%s)" % (what, sql))
            elif want is not None and got[:len(want)] != want:
                fails.append("%s: got %s, want %s" % (what, got, want))

        for sql in PLANS:
            ok, plan = uses_index(conn, sql)
            if not ok:
                fails.append("no index for %s (plan: %s)" % (sql, plan))
    try:
        cipher.verify(path)
    except cipher.CipherError as e:
        fails.append(str(e))
    return fails, notes


def main(argv=None):
    argv = sys.argv[1:] if argv is None else argv
    if len(argv) != 1:
        print("usage: check_db.py DB", file=sys.stderr)
        return 2
    try:
        fails, notes = check(argv[0])
    except cipher.CipherError as e:
        fails, notes = [str(e)], []
    for n in notes:
        print(n)
    if fails:
        print("%d check(s) failed:" % len(fails), file=sys.stderr)
        for f in fails:
            print("  - " + f, file=sys.stderr)
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
