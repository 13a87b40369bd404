"""The written database: column order, case-insensitive text, indexes used by
the program's searches, and the SQLCipher round trip."""

import os
import shutil
import sqlite3
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import check_db  # noqa: E402
import cipher  # noqa: E402
import schema  # noqa: E402

FIXTURE = {
    "kest_hz": [{"name": "中", "pinyin": "zhōng", "pinyins": "zhōng，zhòng", "pycode": "zhong", "part": "丨",
                 "strokes": 4, "bhm": "2512"},
                {"name": "绿", "pinyin": "lǜ", "pycode": "lv", "part": "纟", "strokes": 11, "bhm": "55151124134"}],
    "kest_cd": [{"word": "中国", "szm": "zg", "content": "国家", "ord": "中國", "spell": "zhōng guó"}],
    "kest_cy": [{"ChengYu": "花好月圆", "PingYin": "huā hǎo yuè yuán", "pyjm": "hhyy"}],
    "kest_en": [{"en": "China", "zh": "n. 中国"}, {"en": "good", "zh": "a. 好的"}],
    "kest_xhy": [{"first1": "阿斗当皇帝", "end1": "有名无实"}],
}


class StoreTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.plain = os.path.join(cls.tmp, "plain.db")
        cls.counts = schema.write_plain(cls.plain, FIXTURE)
        cls.conn = sqlite3.connect(cls.plain)

    @classmethod
    def tearDownClass(cls):
        cls.conn.close()
        shutil.rmtree(cls.tmp)

    def cols(self, table):
        return [r[1] for r in self.conn.execute("PRAGMA table_info(%s)" % table)]

    def test_fixed_column_order(self):
        self.assertEqual(self.cols("kest_cd")[:6], ["ID", "word", "szm", "content", "ord", "spell"])
        self.assertEqual(self.cols("kest_cy"), [
            "cyid", "ChengYu", "PingYin", "content", "js", "derivation", "ChuChu", "dg", "samples", "jl",
            "pyjm", "jyc", "fyc", "dmm", "yf", "rw", "yw", "ew", "xy", "gs", "cy", "nd", "jg", "cx", "sici"])
        self.assertEqual(self.cols("kest_en")[:3], ["ID", "en", "zh"])
        self.assertEqual(self.cols("kest_xhy"), ["ID", "first1", "end1"])
        hz = self.cols("kest_hz")
        self.assertEqual(hz[0], "id")
        for c in ("name", "pycode", "part", "strokes", "bhm"):
            self.assertIn(c, hz[:12])

    def test_types_and_defaults(self):
        info = {r[1]: r[2] for r in self.conn.execute("PRAGMA table_info(kest_cy)")}
        for c in ("cy", "nd", "jg", "cx"):
            self.assertEqual(info[c], "INTEGER")
        row = self.conn.execute("SELECT js, sici, cy, typeof(strokes) FROM kest_cy, kest_hz "
                                "WHERE name = '中'").fetchone()
        self.assertEqual(row, ("", "", None, "integer"))   # '' for absent text, NULL for absent integers

    def test_ids_follow_insert_order(self):
        self.assertEqual(self.conn.execute("SELECT id, name FROM kest_hz").fetchall(), [(1, "中"), (2, "绿")])
        self.assertEqual(self.counts["kest_sys"], 1)
        self.assertEqual(self.conn.execute("SELECT * FROM kest_sys").fetchall(), [schema.SYS_ROW])

    def test_case_insensitive_text(self):
        cases = [
            ("select count(*) from kest_en where en = 'china'", 1),
            ("select count(*) from kest_en where en = 'CHINA'", 1),
            ("select count(*) from kest_en where en like 'GOO%'", 1),
            ("select count(*) from kest_hz where pycode = 'LV'", 1),
            ("select count(*) from kest_cy where pyjm = 'HHYY'", 1),
            ("select count(*) from kest_cd where szm = 'ZG'", 1),
            ("select count(*) from kest_hz where bhm like '2512'", 1),
            ("select count(*) from kest_hz where bhm like '251%'", 1),
        ]
        for sql, want in cases:
            with self.subTest(sql=sql):
                self.assertEqual(self.conn.execute(sql).fetchone()[0], want)

    def test_searches_use_indexes(self):
        for sql in check_db.PLANS:
            with self.subTest(sql=sql):
                plan = " ".join(r[-1] for r in self.conn.execute("EXPLAIN QUERY PLAN " + sql))
                self.assertIn("USING INDEX", plan.replace("COVERING ", ""))

    def test_contains_search_scans(self):
        # the guard above is not vacuous: a leading wildcard cannot use the index
        plan = " ".join(r[-1] for r in self.conn.execute(
            "EXPLAIN QUERY PLAN select * from kest_en where en like '%oo%'"))
        self.assertNotIn("USING INDEX", plan)


@unittest.skipUnless(cipher.available(), "libsqlcipher0 not installed")
class CipherTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        self.plain = os.path.join(self.tmp, "plain.db")
        schema.write_plain(self.plain, FIXTURE)
        self.enc = os.path.join(self.tmp, "kestlib.dll")
        cipher.export_encrypted(self.plain, self.enc)

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def test_round_trip(self):
        self.assertEqual(sorted(cipher.verify(self.enc)), sorted(schema.TABLES))
        with cipher.Connection(self.enc, key=cipher.KEY) as c:
            self.assertEqual(c.execute("select szm, spell from kest_cd where word = '中国'"),
                             [["zg", "zhōng guó"]])
            self.assertEqual(c.execute("pragma cipher_version"), [["3.4.1"]])
            for sql in check_db.PLANS:
                plan = " ".join(r[-1] for r in c.execute("EXPLAIN QUERY PLAN " + sql))
                self.assertIn("USING", plan, sql)

    def test_no_key_or_wrong_key_fails(self):
        for key in (None, "qant527", "QANT527~", ""):
            with self.subTest(key=key):
                with self.assertRaises(cipher.CipherError):
                    with cipher.Connection(self.enc, key=key) as c:
                        c.execute("select count(*) from kest_hz")
        with open(self.enc, "rb") as f:
            self.assertNotEqual(f.read(16), b"SQLite format 3\0")
        with self.assertRaises(sqlite3.DatabaseError):
            sqlite3.connect(self.enc).execute("select * from sqlite_master").fetchall()

    def test_missing_file_is_not_created(self):
        p = os.path.join(self.tmp, "missing.dll")
        with self.assertRaises(cipher.CipherError):
            cipher.Connection(p, key=cipher.KEY)
        self.assertFalse(os.path.exists(p))

    def test_check_db_reports_failures(self):
        # the fixture is far too small: the real-data check must fail, listing why
        fails, _ = check_db.check(self.enc)
        self.assertTrue(any("distinct characters" in f for f in fails))
        self.assertTrue(any("kest_en has" in f for f in fails))
        fails, _ = check_db.check(self.plain)
        self.assertEqual(len(fails), 1)
        self.assertIn("cannot open", fails[0])


if __name__ == "__main__":
    unittest.main()
