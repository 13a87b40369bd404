"""Pinyin, stroke codes and the source formats, on small hand-made fixtures."""

import bz2
import io
import json
import os
import sys
import tarfile
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import english  # noqa: E402
import hanzi  # noqa: E402
import idioms  # noqa: E402
import jsbundle  # noqa: E402
import pinyin  # noqa: E402
import sources  # noqa: E402
import words  # noqa: E402
import xhy  # noqa: E402


class PinyinTest(unittest.TestCase):
    def test_tone_marks(self):
        cases = [
            ("zhong1", "zhōng"), ("guo2", "guó"), ("hao3", "hǎo"), ("shi4", "shì"),
            ("ma5", "ma"), ("ma0", "ma"), ("ma", "ma"),
            ("lu:4", "lǜ"), ("lv4", "lǜ"), ("nu:e4", "nüè"), ("lu:e4", "lüè"), ("Lu:3", "lǚ"),
            ("r5", "r"), ("er2", "ér"),
            ("gou3", "gǒu"), ("liu2", "liú"), ("gui4", "guì"), ("xue2", "xué"), ("jiao1", "jiāo"),
            ("m2", "ḿ"), ("n3", "ň"), ("Zhong1", "zhōng"),
        ]
        for src, want in cases:
            with self.subTest(src=src):
                self.assertEqual(pinyin.mark_syllable(src), want)

    def test_not_a_syllable(self):
        for bad in ["", "zh1x", "中", "1", "a-b3", "ma6"]:
            with self.subTest(bad=bad):
                with self.assertRaises(pinyin.PinyinError):
                    pinyin.mark_syllable(bad)

    def test_numbered_strings(self):
        cases = [
            ("Zhong1 guo2", "Zhōng guó"),
            ("A quan1 r5", "a quān r"),
            ("xx5", ""),
            ("Qiao2 zhi4 · Hua2 sheng4 dun4", "Qiáo zhì · Huá shèng dùn"),
            ("nu:3 er2", "nǚ ér"),
        ]
        for src, want in cases:
            with self.subTest(src=src):
                self.assertEqual(pinyin.numbered_to_marked(src), want.lower() if src[0] == "A" else
                                 want.replace("Z", "z").replace("Q", "q").replace("H", "h"))

    def test_toneless_ascii(self):
        cases = [("zhōng", "zhong"), ("lǜ", "lv"), ("nǚ", "nv"), ("lüè", "lve"), ("ma", "ma"),
                 ("Guó", "guo"), ("ḿ", "m"), ("ê", "e")]
        for src, want in cases:
            with self.subTest(src=src):
                self.assertEqual(pinyin.toneless_ascii(src), want)

    def test_initials(self):
        cases = [("zhōng guó", "zg"), ("huā hǎo yuè yuán", "hhyy"), ("Zhōng guó", "zg"),
                 ("lǜ sè", "ls"), ("a quān r", "aqr"), ("qiáo zhì · huá shèng dùn", "qzhsd"),
                 ("yī lù，píng ān", "ylpa"), ("", ""), ("ér", "e")]
        for src, want in cases:
            with self.subTest(src=src):
                self.assertEqual(pinyin.initials(src), want)

    def test_citation_tones(self):
        cases = [
            ("一下", ["yí", "xià"], ["yī", "xià"]),
            ("一丁点", ["yì", "dīng", "diǎn"], ["yī", "dīng", "diǎn"]),
            ("不对", ["bú", "duì"], ["bù", "duì"]),
            ("一一", ["yī", "yī"], ["yī", "yī"]),
            ("对不起", ["duì", "bu", "qǐ"], ["duì", "bu", "qǐ"]),  # neutral stays
            ("二", ["èr"], ["èr"]),
            ("一下", ["yí"], ["yí"]),  # length mismatch: untouched
        ]
        for word, syl, want in cases:
            with self.subTest(word=word, syl=syl):
                self.assertEqual(pinyin.citation_tones(word, syl), want)


class StrokeTest(unittest.TestCase):
    def test_cnchar_letters(self):
        # the data's own letters for these characters
        cases = [("sjgiysk", "3121534"),  # 我: 竖钩 counts as 竖
                 ("jg", "12"),             # 丁
                 ("gsk", "234"),           # 小
                 ("fcjf", "2512"),         # 中
                 ("kdsl", "4434"), ("ir", "15")]
        for letters, want in cases:
            with self.subTest(letters=letters):
                self.assertEqual(hanzi.cnchar_code(letters), want)

    def test_unknown_letter(self):
        with self.assertRaises(hanzi.DataError):
            hanzi.cnchar_code("jX")

    RIME = "\n".join([
        "# Rime dictionary: stroke", "---", "name: stroke", "...", "",
        "丁\ths", "我\tphzhznp", "小\tzpn", "中\tszhs", "坏行\tzz", "乙\tz", "bad line",
        "", "#The following entries inherited from the original table", "# 以下詞條",
        "", "丁\ths", "我\tphshzpn", "小\tspn", "冫\tnh", ""])

    def test_rime_sections(self):
        tw, ml, st = hanzi.parse_rime_stroke(self.RIME)
        self.assertEqual(tw["我"], "3151543")
        self.assertEqual(ml["我"], "3121534")
        self.assertEqual(st["skipped"], 2)          # "坏行" and "bad line"
        self.assertEqual(st["mainland_start_line"], 17)
        cases = [("我", "3121534", "rime-mainland"), ("小", "234", "rime-mainland"),
                 ("中", "2512", "rime-taiwan"), ("乙", "5", "rime-taiwan"), ("〇", "", "")]
        for ch, code, src in cases:
            with self.subTest(ch=ch):
                self.assertEqual(hanzi.rime_code(ch, tw, ml), (code, src))

    def test_rime_without_header_end(self):
        with self.assertRaises(hanzi.DataError):
            hanzi.parse_rime_stroke("丁\ths\n")

    def test_cross_check(self):
        tw, ml, _ = hanzi.parse_rime_stroke(self.RIME)
        cn = {"我": "3121534", "小": "235", "中": "2512", "火": "4334"}
        x = hanzi.cross_check(cn, tw, ml)
        self.assertEqual((x["mainland_n"], x["mainland_agree"]), (2, 1))
        self.assertEqual((x["merged_n"], x["merged_agree"]), (3, 2))
        self.assertEqual(x["differ"], ["小"])

    def test_derive_from_traditional(self):
        codes = {"僤": "32251251251112", "單": "251251251112", "单": "43251112",
                 "紃": "554444322", "糹": "554444", "纟": "551", "川": "322"}
        uh = {"𫢸": {"kTraditionalVariant": "U+50E4"}, "𬘓": {"kTraditionalVariant": "U+7D03"},
              "X": {"kTraditionalVariant": "U+50E4"}}
        counts = {"𫢸": 10, "𬘓": 6, "X": 99}
        got = hanzi.derive_codes(["𫢸", "𬘓", "X"], uh, lambda c: codes.get(c, ""), {"单": "單"}, counts)
        self.assertEqual(got, {"𫢸": "3243251112", "𬘓": "551322"})  # X: no count fits


class ListOrderTest(unittest.TestCase):
    # kTGH numbers 6501 on are level 3; 3500 ends level 1
    SEQ = {3500: "甲", 6501: "乙", 6502: "丙", 6503: "丁", 6504: "戊", 6505: "己", 6506: "庚"}
    CODES = {"甲": "511111", "乙": "453452", "丙": "4545", "戊": "521521", "己": "5215211"}
    COUNTS = {"甲": 6, "乙": 6, "丙": 6, "丁": 6, "戊": 6, "己": 7, "庚": 7}

    def test_fits(self):
        order = hanzi.ListOrder(self.SEQ, lambda c: self.CODES.get(c, ""), self.COUNTS)
        cases = [
            ("丁", "454451", True),    # between 乙 and 戊; 丙's code is not its count, skipped
            ("丁", "453452", True),    # equal to a neighbour
            ("丁", "452111", False),   # before 乙
            ("丁", "531111", False),   # after 戊
            ("丁", "4544512", False),  # 7 strokes, but a 6-stroke code follows
            ("庚", "5215212", True),   # after 己, the last of the level
            ("庚", "5215210", False),
            ("乙", "453452", True),    # level 1 (甲, after it in code) is not looked at
            ("辛", "454451", False),   # not in the list
        ]
        for ch, code, want in cases:
            with self.subTest(ch=ch, code=code):
                self.assertEqual(order.fits(ch, code), want)

    def test_no_neighbour_of_that_count(self):
        order = hanzi.ListOrder({6501: "乙", 6502: "丁", 6503: "己"}, {"乙": "4534", "己": "5215211"}.get,
                                {"乙": 4, "丁": 6, "己": 7})
        self.assertFalse(order.fits("丁", "454451"))

    def test_longer_code_before(self):
        # a 7-stroke character before it: a 6-stroke code cannot stand here
        codes, counts = {"己": "5215211", "戊": "521521"}, {"己": 7, "丁": 6, "戊": 6}
        order = hanzi.ListOrder({6501: "己", 6502: "丁", 6503: "戊"}, codes.get, counts)
        self.assertFalse(order.fits("丁", "511111"))
        order = hanzi.ListOrder({6502: "丁", 6503: "戊"}, codes.get, counts)
        self.assertTrue(order.fits("丁", "511111"))

    def test_agreement(self):
        codes = {"乙": "453", "丁": "521", "戊": "452", "己": "12", "庚": "1111"}
        counts = {"乙": 3, "丁": 3, "戊": 3, "己": 2, "庚": 3}
        order = hanzi.ListOrder({6501: "乙", 6502: "丁", 6503: "戊", 6504: "己", 6505: "庚"}, codes.get, counts)
        # 丁 > 戊 is out of order; 己 is another length; 庚's code is not its count
        self.assertEqual(order.agreement(), (1, 2))

    def test_sequence(self):
        uh = {"中": {"kTGH": "2013:113"}, "乙": {"kTGH": "2013:6501"}, "x": {"kTotalStrokes": "3"}}
        self.assertEqual(hanzi.tgh_sequence(uh), {113: "中", 6501: "乙"})


class CodePartsTest(unittest.TestCase):
    CODES = {"學": "3211343451145521", "学": "44345521", "紵": "55444444512", "纻": "5514451",
             "糹": "554444", "纟": "551", "訁": "4111251", "讠": "45"}

    def parts(self, pairs, all_splits):
        return hanzi.code_parts(pairs, lambda c: self.CODES.get(c, ""),
                                lambda c: [self.CODES[c]] if c in self.CODES else [], all_splits)

    def test_smallest_parts(self):
        self.assertEqual(self.parts({"學": "学"}, False), {("32113434511", "443")})

    def test_every_split(self):
        # the common end 45521 kept whole, or 5521, or 521 (at least three strokes)
        self.assertEqual(self.parts({"學": "学"}, True),
                         {("32113434511", "443"), ("321134345114", "4434"), ("3211343451145", "44345")})

    def test_after_left_form(self):
        # common beginning "55" is too short for a part; the left forms give one
        self.assertEqual(self.parts({"紵": "纻"}, False), {("44512", "4451")})

    def test_unihan_pairs(self):
        uh = {"𢀖": {"kTraditionalVariant": "U+5DE0"}, "宁": {"kTraditionalVariant": "U+5B81 U+5BE7"}}
        self.assertEqual(hanzi.unihan_pairs(uh), {"巠": "𢀖", "寧": "宁"})


class DeriveMoreTest(unittest.TestCase):
    CODES = {"學": "3211343451145521", "学": "44345521", "礐": "321134345114513251",
             "紵": "55444444512", "纻": "5514451", "詝": "411125144512",
             "糹": "554444", "纟": "551", "訁": "4111251", "讠": "45",
             "甲": "4424511534", "丙": "4451111111", "乙": "453452", "戊": "521521", "庚": "511111"}
    UH = {"Q": {"kTraditionalVariant": "U+7910", "kRSUnicode": "112.5", "kTGH": "2013:7002"},
          "甲": {"kTGH": "2013:7001"}, "丙": {"kTGH": "2013:7003"},
          "Z": {"kTraditionalVariant": "U+8A5D", "kRSUnicode": "149'.4", "kTGH": "2013:6552"},
          "乙": {"kTGH": "2013:6551"}, "戊": {"kTGH": "2013:6553"},
          "Y": {"kTraditionalVariant": "U+8A5D", "kRSUnicode": "149'.4", "kTGH": "2013:6602"},
          "庚": {"kTGH": "2013:6601"}}
    COUNTS = {"Q": 10, "甲": 10, "丙": 10, "Z": 6, "乙": 6, "戊": 6, "Y": 6, "庚": 6}

    def test_derive(self):
        code_of = lambda c: self.CODES.get(c, "")  # noqa: E731
        variants_of = lambda c: [self.CODES[c]] if c in self.CODES else []  # noqa: E731
        order = hanzi.ListOrder(hanzi.tgh_sequence(self.UH), code_of, self.COUNTS)
        got = hanzi.derive_more(["Q", "Z", "Y"], self.UH, code_of, variants_of, {"学": "學", "纻": "紵"},
                                self.COUNTS, order)
        # Q: the smallest part 32113434511 -> 443 is not a whole part (5 strokes
        # beyond 石), so only the second step, with 3211343451145 -> 44345, counts.
        # Z: 訁 -> 讠 and 44512 -> 4451.  Y: the same code sorts before 庚.
        self.assertEqual(got, {"Q": ("4434513251", 2), "Z": ("454451", 1)})

    def test_rows_mark_the_source(self):
        cn = {"spell": {}, "counts": {}, "order": {}, "radical": {}, "trad": {}, "zhuyin": {}}
        uh = {"Z": {"kMandarin": "zhǔ", "kTotalStrokes": "6"}}
        for kind, src in (("derived_parts", "derived-parts"), ("glyph_parts", "glyph-parts")):
            with self.subTest(kind):
                rows, _ = hanzi.build_char_rows(cn, uh, {}, {}, {}, {}, **{kind: {"Z": "454451"}})
                self.assertEqual([(r["bhm"], r["bhmsrc"]) for r in rows], [("454451", src)])


class GlyphPartsTest(unittest.TestCase):
    def test_codes(self):
        codes = {"牙": "1523", "合": "341251", "石": "13251"}
        seq = {6978: "甲", 6979: "𬌗", 6980: "乙", 6999: "丁", 7000: "X", 7001: "丙"}
        counts = {"甲": 10, "𬌗": 10, "乙": 10, "丁": 9, "X": 9, "丙": 9}
        known = {"甲": "1521111111", "乙": "1531111111", "丁": "111111111", "丙": "131111111"}
        order = hanzi.ListOrder(seq, lambda c: known.get(c) or codes.get(c, ""), counts)
        self.assertTrue(order.fits("X", "121111111"))
        cases = [
            ("parts in a row", {"𬌗": "牙合"}, {"𬌗": "1523341251"}),
            ("a part without a code", {"𬌗": "牙龠"}, {}),
            ("wrong stroke count", {"𬌗": "石合"}, {}),            # 11 strokes
            ("outside the list order", {"X": "石牙"}, {}),         # 132511523 after 丙's 131111111
            ("not listed", {}, {}),
        ]
        for what, parts, want in cases:
            with self.subTest(what):
                got = hanzi.codes_from_glyph_parts(["𬌗", "X"], lambda c: codes.get(c, ""), counts, order, parts)
                self.assertEqual(got, want)


class ReadingOrderTest(unittest.TestCase):
    def test_main_reading_first(self):
        cases = [
            ("page order, pinlu counts", ["dàn", "shí"], {"kHanyuPinlu": "shí(1006)"}, ["shí", "dàn"]),
            ("counts decide", ["háng", "héng", "xíng"], {"kHanyuPinlu": "xíng(2943) háng(218)"},
             ["xíng", "háng", "héng"]),
            ("kMandarin without counts", ["gě", "hé"], {"kMandarin": "hé"}, ["hé", "gě"]),
            ("counts before kMandarin", ["a", "b", "c"], {"kHanyuPinlu": "c(5)", "kMandarin": "b"}, ["c", "b", "a"]),
            ("nothing known keeps the order", ["zhōng", "zhòng"], {}, ["zhōng", "zhòng"]),
            ("malformed counts are ignored", ["a", "b"], {"kHanyuPinlu": "b(x) b"}, ["a", "b"]),
        ]
        for what, readings, f, want in cases:
            with self.subTest(what):
                self.assertEqual(hanzi.main_reading_first(readings, f), want)

    def test_rows_start_with_the_main_reading(self):
        cn = {"spell": {}, "counts": {}, "order": {}, "radical": {}, "trad": {}, "zhuyin": {}}
        uh = {"石": {"kTGHZ2013": "065.060:dàn 334.180:shí", "kHanyuPinlu": "shí(1006)", "kTotalStrokes": "5"}}
        rows, _ = hanzi.build_char_rows(cn, uh, {}, {}, {}, {})
        self.assertEqual([(r["pinyin"], r["pinyins"]) for r in rows], [("shí", "shí，dàn"), ("dàn", "shí，dàn")])


class StrokeCountTest(unittest.TestCase):
    def test_radical_strokes(self):
        uh = {"a": {"kRSUnicode": "120'.5", "kTotalStrokes": "8"}, "b": {"kRSUnicode": "120'.2", "kTotalStrokes": "5"},
              "c": {"kRSUnicode": "120'.15", "kTotalStrokes": "17"},   # the odd one out
              "d": {"kRSUnicode": "61.4", "kTotalStrokes": "8"}, "e": {"kRSUnicode": "61.5", "kTotalStrokes": "8"},
              "f": {"kRSUnicode": "170.6 163.6", "kTotalStrokes": "8 9"},  # first values
              "g": {"kRSUnicode": "9.3"},
              "h": {"kRSUnicode": "120'.1", "kTotalStrokes": "1"}}      # not among the characters asked
        # 61: two forms tie, so no count
        self.assertEqual(hanzi.radical_strokes(uh, "abcdefg"), {"120'": 3, "170": 2})

    def test_list_count_range(self):
        counts = dict(zip("ABCDEFGHIJKL", [3, 3, 3, 3, 3, 9, 3, 3, 4, 4, 4, 4]))
        seq = {6501 + i: c for i, c in enumerate("ABCDEFGHIJKL")}
        seq.update({3498: "x", 3499: "y", 3500: "z", 3501: "p", 3502: "q", 3503: "r", 3504: "s", 3505: "t"})
        counts.update({"x": 20, "y": 20, "z": 20, "p": 5, "q": 5, "r": 5, "s": 2, "t": 2})
        seq[6513] = "M"  # no count: skipped
        cases = [
            (6504, 3, (3, 3)),   # after it 3 9 3: the wrong 9 does not count
            (6506, 3, (3, 3)),   # the wrong one itself
            (6508, 3, (3, 4)),   # last of its group
            (6509, 3, (3, 4)),   # first of the next
            (6507, 1, None),     # one neighbour each side: 9 before, 3 after
            (6502, 3, None),     # start of level 3
            (6510, 3, None),     # only K and L after it
            (3502, 3, None),     # level 1 (x y z) is not looked at
            (3504, 3, None),     # the two sides cross: 5 before, 2 after
        ]
        for n, width, want in cases:
            with self.subTest(n=n, width=width):
                self.assertEqual(hanzi.list_count_range(seq, counts, n, width), want)

    def test_correct_counts(self):
        witnesses = [
            ("A", 5, 6, (6, 7)),    # kTotalStrokes outside, radical inside: taken
            ("B", 9, 8, (7, 7)),    # both outside: left
            ("C", 9, None, (7, 7)),  # no radical count: left
            ("D", 7, 8, (7, 7)),    # kTotalStrokes inside: kept
            ("E", 5, 6, None),      # no list place: kept
            ("F", None, 6, (6, 6)),
        ]
        self.assertEqual(hanzi.correct_counts(witnesses), ({"A": (5, 6)}, ["B", "C"]))

    # X is filed under 纟 (3 strokes) among the 6- and 7-stroke characters,
    # but kTotalStrokes says 5; Y says 9 where both witnesses say otherwise
    CHARS = "ABCDXEFYGHIJ"
    RESIDUAL = [3, 3, 3, 3, 3, 4, 4, 5, 4, 4, 4, 4]
    TOTAL = [6, 6, 6, 6, 5, 7, 7, 9, 7, 7, 7, 7]

    def fixture(self):
        uh = {c: {"kRSUnicode": "120'.%d" % r, "kTotalStrokes": str(t)}
              for c, r, t in zip(self.CHARS, self.RESIDUAL, self.TOTAL)}
        uh["X"]["kTraditionalVariant"] = "U+7D03"
        return {6501 + i: c for i, c in enumerate(self.CHARS)}, uh

    def test_witnesses_and_fix(self):
        seq, uh = self.fixture()
        counts = hanzi.stroke_counts(uh, {})
        w = hanzi.count_witnesses(uh, seq, counts)
        self.assertEqual([x for x in w if x[0] in "XY"], [("X", 5, 6, (6, 7)), ("Y", 9, 8, (7, 7))])
        self.assertEqual(hanzi.correct_counts(w), ({"X": (5, 6)}, ["Y"]))

    def test_fixed_count_lets_the_derivation_run(self):
        seq, uh = self.fixture()
        codes = {"紃": "554444322", "糹": "554444", "纟": "551", "川": "322"}
        counts = hanzi.stroke_counts(uh, {})
        got = [hanzi.derive_codes(["X"], uh, lambda c: codes.get(c, ""), {}, counts)]
        fixed, _ = hanzi.correct_counts(hanzi.count_witnesses(uh, seq, counts))
        counts.update({c: new for c, (_, new) in fixed.items()})
        got.append(hanzi.derive_codes(["X"], uh, lambda c: codes.get(c, ""), {}, counts))
        self.assertEqual(got, [{}, {"X": "551322"}])

    def test_witness_agreement(self):
        witnesses = [("A", 5, 6, (6, 7)), ("B", 7, 8, (7, 7)), ("C", 4, None, None), ("D", 9, 9, (9, 10)),
                     ("E", 3, 3, (3, 3))]
        ref = {"A": 6, "B": 7, "C": 4, "D": 10}  # E: not in ref
        self.assertEqual(hanzi.witness_agreement(witnesses, ref),
                         {"kTotalStrokes": (2, 4), "list place": (3, 3), "radical": (1, 3),
                          "radical in list place": (1, 2)})

    def test_rows_mark_the_count_source(self):
        cn = {"spell": {"R": ["rè"]}, "counts": {"R": 3, "P": 2}, "order": {}, "radical": {}, "trad": {},
              "zhuyin": {}}
        uh = {"P": {"kMandarin": "pà", "kTotalStrokes": "5"}, "Q": {"kMandarin": "qì", "kTotalStrokes": "4"},
              "S": {"kMandarin": "sè"}}
        rows, _ = hanzi.build_char_rows(cn, uh, {}, {}, {}, {}, stroke_fixes={"P": 6})
        self.assertEqual(sorted((r["name"], r["strokes"], r["strokesrc"]) for r in rows),
                         [("P", 6, "corrected"), ("Q", 4, "unihan"), ("R", 3, "cnchar"), ("S", None, "")])


class CncharTablesTest(unittest.TestCase):
    def test_bundle_literals(self):
        src = ("!function(){x=JSON.parse('{\"a\":\"b\\\\\"c\",\"d\":\"it\\'s\",\"e\":\"\\u4e2d\"}')"
               ";y=JSON.parse('[1,2]')}")
        t = jsbundle.json_tables(src)
        self.assertEqual(t, [{"a": 'b"c', "d": "it's", "e": "中"}, [1, 2]])

    def test_bundle_malformed(self):
        for src in ["JSON.parse('{\"a\":1", "JSON.parse('{a:1}')", "JSON.parse('\\u12')"]:
            with self.subTest(src=src):
                with self.assertRaises(jsbundle.BundleError):
                    jsbundle.json_tables(src)

    def test_spell(self):
        t = {"zhong": "2:中6中9钟1", "le": "1:了5", "lü": "1:绿9", "lu": "1:绿9"}
        got = hanzi.parse_cnchar_spell(t)
        self.assertEqual(got["中"], ["zhōng", "zhòng"])
        self.assertEqual(got["钟"], ["zhōng"])
        self.assertEqual(got["了"], ["le"])
        self.assertEqual(got["绿"], ["lǜ", "lù"])
        with self.assertRaises(hanzi.DataError):
            hanzi.parse_cnchar_spell({"zhong": "2:中6中"})

    def test_radical(self):
        st = {"a": "左右结构", "c": "独体结构"}
        t = {"*": "一c1丨c1", "丨": "1:中c", "口": "3:叶a", "": "0:乄a"}
        got = hanzi.parse_cnchar_radical(t, st)
        self.assertEqual(got["中"], ("丨", "独体结构"))
        self.assertEqual(got["叶"], ("口", "左右结构"))
        self.assertEqual(got["一"], ("一", "独体结构"))
        self.assertEqual(got["乄"], ("", "左右结构"))  # an empty radical stays empty here

    def test_unihan(self):
        lines = ["# comment", "U+4E2D\tkMandarin\tzhōng", "U+4E2D\tkRSUnicode\t2.3",
                 "U+4E2D\tkCantonese\tzung1", "garbage", "U+ZZZZ\tkMandarin\tx", ""]
        stats = {}
        got = hanzi.parse_unihan(lines, stats=stats)
        self.assertEqual(got, {"中": {"kMandarin": "zhōng", "kRSUnicode": "2.3"}})
        self.assertEqual(stats["skipped"], 2)

    def test_rs_radical(self):
        rads = hanzi.parse_cjk_radicals("# x\n1; 2F00; 4E00\n120; 2F77; 7CF8\n120'; 2EB0; 7E9F\nbad\n")
        cases = [("2.3", ""), ("1.3", "一"), ("120'.3", "纟"), ("120.6 120'.3", "糸"), ("", ""), ("x", "")]
        for rs, want in cases:
            with self.subTest(rs=rs):
                self.assertEqual(hanzi.rs_radical(rs, rads), want)

    def test_tghz_readings(self):
        self.assertEqual(hanzi.tghz_readings("212.080:le 223.010,223.020:liǎo"), ["le", "liǎo"])
        self.assertEqual(hanzi.tghz_readings("480.020:zhōng 481.040:zhòng"), ["zhōng", "zhòng"])
        with self.assertRaises(hanzi.DataError):
            hanzi.tghz_readings("zhōng")


class CharRowsTest(unittest.TestCase):
    def test_rows(self):
        cn = {"spell": {"中": ["zhōng", "zhòng"], "斤": ["gōng"], "乄": ["x"], "刀": ["dāo"]},
              "counts": {"中": 4}, "order": {"中": "2512"},
              "radical": {"中": ("丨", "独体结构"), "斤": ("", "独体结构")},
              "trad": {}, "zhuyin": {}}
        uh = {"中": {"kTGHZ2013": "480.020:zhōng 481.040:zhòng", "kTGH": "2013:113", "kTotalStrokes": "4",
                     "kDefinition": "central"},
              "斤": {"kTGHZ2013": "175.120:jīn", "kTGH": "2013:137", "kRSUnicode": "69.0",
                     "kTotalStrokes": "4"},
              "绿": {"kMandarin": "lǜ", "kRSUnicode": "120'.8", "kTotalStrokes": "11"},
              "刀": {"kRSUnicode": "18.0", "kTotalStrokes": "2"}}
        rads = {"69": "斤", "120'": "纟", "18": "刀"}
        rows, st = hanzi.build_char_rows(cn, uh, rads, {}, {"绿": "55151124134"}, {})
        got = [(r["name"], r["pinyin"], r["pinyins"], r["pycode"], r["part"], r["strokes"], r["bhm"])
               for r in rows]
        self.assertEqual(got, [
            ("中", "zhōng", "zhōng，zhòng", "zhong", "丨", 4, "2512"),
            ("中", "zhòng", "zhōng，zhòng", "zhong", "丨", 4, "2512"),
            ("斤", "jīn", "jīn", "jin", "斤", 4, ""),          # kTGHZ2013 over cnchar's gōng
            ("刀", "dāo", "dāo", "dao", "刀", 2, ""),          # cnchar has no radical for it
            ("绿", "lǜ", "lǜ", "lv", "纟", 11, "55151124134"),
        ])
        self.assertEqual(st["empty_cnchar_radical"], ["斤", "刀"])
        self.assertEqual(st["tghz_vs_cnchar_differ"], ["斤"])
        self.assertEqual(st["missing_reading"], 1)  # 乄: "x" is no reading


class SourceFormatsTest(unittest.TestCase):
    def test_cedict(self):
        text = "\n".join([
            "# CC-CEDICT", "#! entries=3",
            "中國 中国 [Zhong1 guo2] /China/",
            "綠 绿 [lu4] /used in names/",
            "綠 绿 [lu:4] /green/",
            "broken line without brackets",
            "一下 一下 [yi1 xia4] /a bit/all at once/", ""])
        entries, header, skipped = words.parse_cedict(text)
        self.assertEqual(header["entries"], "3")
        self.assertEqual(skipped, 1)
        self.assertEqual(entries[0], ("中國", "中国", "Zhong1 guo2", ["China"]))
        self.assertEqual(entries[3][3], ["a bit", "all at once"])

    def test_cedict_js(self):
        self.assertEqual(words.cedict_text_from_js("module.exports = `a\nb`;"), "a\nb")
        for bad in ["module.exports = 1;", "x = `a ${b}`"]:
            with self.subTest(bad=bad):
                with self.assertRaises(words.DataError):
                    words.cedict_text_from_js(bad)

    def test_explanations(self):
        self.assertEqual(words.parse_explanations("x.json", '{"中国":" 国家 "}'), {"中国": "国家"})
        cases = [("中国", "国家", True), ("石", '1.亦作"石蜐"。', False), ("一哄", '1.见"一哄"。', False),
                 ("一哄", '1.见"一閧"。', True), ("一伙", '1.亦作"一伙"。 \n2.一群。', True), ("中国", "", False)]
        for word, text, want in cases:
            with self.subTest(word=word, text=text):
                self.assertEqual(words.usable_explanation(word, text), want)
        for bad in ['{"a":', "[1]"]:
            with self.subTest(bad=bad):
                with self.assertRaises(words.DataError):
                    words.parse_explanations("x.json", bad)

    def test_pinyin_pro(self):
        raw = json.dumps({"一下": ["yí xià", 1e-8], "不对": ["bú duì", 2e-9], "坏": 3, "中": ["zhōng"]})
        got, skipped = words.parse_pinyin_pro(raw)
        self.assertEqual(got["一下"], ("yī xià", 1e-8))
        self.assertEqual(got["不对"], ("bù duì", 2e-9))
        self.assertEqual(got["中"], ("zhōng", 0.0))
        self.assertEqual(skipped, 1)

    def test_ecdict(self):
        text = ("word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,exchange,detail,audio\n"
                "zebra,'zi:brә,n. animal,n. 斑马\\n[网络] 斑马线,,1,0,cet4,9000,8000,s:zebras,,\n"
                "china,'tʃainә,n. country,\"n. 中国, 瓷器\",,2,0,zk,1973,7946,,,\n"
                "broken,row\n"
                "aardvark,,,n. 土豚,,,,,0,0,,,\n"
                "China,,,n. 另一个,,,,,0,0,,,\n")
        rows, st = english.parse_ecdict(text)
        self.assertEqual([r["en"] for r in rows], ["china", "zebra", "aardvark"])  # ranked first
        self.assertEqual(rows[1]["zh"], "n. 斑马\n[网络] 斑马线")
        self.assertEqual((st["skipped"], st["duplicates"]), (1, 1))
        with self.assertRaises(english.DataError):
            english.parse_ecdict("a,b\n1,2\n")

    def test_xhy(self):
        tables = [{"a": [["阿斗当皇帝", "有名无实"], ["阿斗当皇帝", "有名无实"], ["坏"], ["", "空"],
                         ["泥菩萨过河", "自身难保"]]}]
        rows, st = xhy.parse_xhy(tables)
        self.assertEqual(rows, [{"first1": "阿斗当皇帝", "end1": "有名无实"},
                                {"first1": "泥菩萨过河", "end1": "自身难保"}])
        self.assertEqual((st["duplicates"], st["skipped"]), (1, 2))


class RepairTest(unittest.TestCase):
    def test_diamond(self):
        cases = [
            ("没有办法了◇以噬脐莫及”比喻后悔莫及。", "没有办法了。后以噬脐莫及”比喻后悔莫及。", 1),
            ("贤明的君主◇，君主。", "贤明的君主。后，君主。", 1),
            ("见《史记》。◇因称", "见《史记》。后因称", 1),
            ("◇泛指", "后泛指", 1),
            ("大而急的风雨 ◇革命的～。", "大而急的风雨 ◇革命的～。", 0),   # figurative mark
            ("重量这个南瓜的～不下二十斤◇话说得很有～。", "重量这个南瓜的～不下二十斤◇话说得很有～。", 0),
            ("意思◇来用‘耳顺’指人六十岁年逾～", "意思。后来用‘耳顺’指人六十岁年逾～", 1),
            ("no artefact", "no artefact", 0),
        ]
        for src, want, n in cases:
            with self.subTest(src=src):
                self.assertEqual(words.repair_diamond(src), (want, n))

    def test_quotes(self):
        cases = [
            ("宋·张先《木兰花》词人意共怜花月满，花好月圆人又散。”",
             "宋·张先《木兰花》词：“人意共怜花月满，花好月圆人又散。”", 1),
            ("《诗经·周颂·酌》于铄王师，遵养时晦。”", "《诗经·周颂·酌》：“于铄王师，遵养时晦。”", 1),
            ("清·李宝嘉《文明小史》第三十八回你是个死囚。”", "清·李宝嘉《文明小史》第三十八回：“你是个死囚。”", 1),
            ("《论语》子曰：“学而时习之。”", "《论语》子曰：“学而时习之。”", 0),   # has its opening quote
            ("语出汉·刘向《新序·杂事一》", "语出汉·刘向《新序·杂事一》", 0),     # no quotation
            ("他说了很多话，又引《书》云云。”", "他说了很多话，又引《书》云云。”", 0),  # no citation in front
            ("《左传》甲。”又《国语》乙。”", "《左传》：“甲。”又《国语》：“乙。”", 2),
            ("元·关汉卿《谢天香》第二折”便使尽些伎俩。”", "元·关汉卿《谢天香》第二折：“便使尽些伎俩。”", 1),  # “ as ”
        ]
        for src, want, n in cases:
            with self.subTest(src=src):
                self.assertEqual(idioms.repair_quotes(src), (want, n))

    def test_refs(self):
        cases = [
            ("同花花世界”。", "同“花花世界”。", 1),
            ("也作“花花世界”。", "也作“花花世界”。", 0),              # has an opening quote: left alone
            ("又称磁盘机”。以磁盘为…", "又称“磁盘机”。以磁盘为…", 1),
            ("⑤见一般与个别”。也作甚或”", "⑤见“一般与个别”。也作“甚或”", 2),
            ("与间接”相对", "与间接”相对", 0),                          # no introducing word
            ("见一二三四五六七八九十一二三”", "见一二三四五六七八九十一二三”", 0),  # too long to be sure
        ]
        for text, want, n in cases:
            with self.subTest(text=text):
                self.assertEqual(words.repair_refs(text), (want, n))

    def test_colons(self):
        cases = [
            ("遵养时晦", "遵遵循，按照；时时势；晦隐藏。原为颂扬。",
             "遵：遵循，按照；时：时势；晦：隐藏。原为颂扬。", 3),
            ("遵养时晦", "遵：遵循；时：时势。", "遵：遵循；时：时势。", 0),      # already there
            ("花好月圆", "花儿正盛开，月亮正圆满。", "花儿正盛开，月亮正圆满。", 0),  # one part only
            ("遵养时晦", "时时势；遵遵循。", "时时势；遵遵循。", 0),          # out of order
            ("遵养时晦", "遵遵循；形容人。", "遵遵循；形容人。", 0),          # a part without idiom piece
        ]
        for name, src, want, n in cases:
            with self.subTest(src=src):
                self.assertEqual(idioms.repair_colons(name, src), (want, n))

    def test_chengyu_lines(self):
        text = "\n".join([
            " 花好月圆拼音：huā hǎo yuè yuán释义：花儿正盛开。出处：宋·张先《木兰花》词人意共怜花月满。”示例：无",
            " 作舍道旁  拼音：zuò shě dào páng释义：比喻众说纷纭。出处：《幼学琼林》作舍道旁。”⑹纠：无",
            " 山陬海噬似匆簦簊hān zōu hǎi shì释义：形容遥远。出处：无示例：无",
            " 抓耳挠腮  拼音：zhuā?ěr náo sāi释义：形容焦急。出处：无示例：无",
            " 足尺加二  拼音：zú chǐ ji?èr释义：坏。出处：无示例：无",
            " 花好月圆  拼音：huā hǎo yuè yuán释义：花儿正盛开。出处：无示例：花好月圆人寿。",
            "", "garbage"])
        recs, st = idioms.parse_chengyu(text)
        self.assertEqual([r["ChengYu"] for r in recs], ["花好月圆", "作舍道旁", "抓耳挠腮"])
        hh = recs[0]
        self.assertEqual((hh["PingYin"], hh["pyjm"]), ("huā hǎo yuè yuán", "hhyy"))
        self.assertEqual(hh["derivation"], "宋·张先《木兰花》词：“人意共怜花月满。”")
        self.assertEqual(hh["ChuChu"], "宋·张先《木兰花》词")
        self.assertEqual(hh["samples"], "花好月圆人寿。")   # filled from the duplicate
        self.assertEqual(recs[1]["samples"], "")
        self.assertEqual(recs[1]["derivation"], "《幼学琼林》：“作舍道旁。”")
        self.assertEqual(recs[2]["PingYin"], "zhuā ěr náo sāi")
        self.assertEqual(st["duplicates"], 1)
        self.assertEqual(len(st["skipped"]), 3)   # 山陬海噬, 足尺加二, garbage


class WordRowsTest(unittest.TestCase):
    def test_merge(self):
        ced = [("中國", "中国", "Zhong1 guo2", ["China"]), ("綠", "绿", "lu4", ["used in names"]),
               ("綠", "绿", "lu:4", ["green"]), ("綠", "绿", "Lu:4", ["surname"])]
        expl = {"绿": "像草的颜色。", "噬脐": "比喻后悔。", "乞墦": "乞求施舍。", "𪚥": "无读音。"}
        pro = {"中国": ("zhōng guó", 1e-7), "绿": ("lǜ", 1e-8), "噬脐": ("shì qí", 1e-12)}
        rows, st = words.build_word_rows(ced, expl, pro, {}, {"乞": "qǐ", "墦": "fán"}.get)
        got = [(r["word"], r["spell"], r["szm"], r["content"], r["ord"], r["pysrc"]) for r in rows]
        self.assertEqual(got, [
            ("中国", "zhōng guó", "zg", "China", "中國", "cedict"),
            ("绿", "lù", "l", "used in names", "綠", "cedict"),
            ("绿", "lǜ", "l", "像草的颜色。", "綠", "cedict"),       # explanation to pinyin-pro's reading
            ("噬脐", "shì qí", "sq", "比喻后悔。", "", "pinyin-pro"),
            ("乞墦", "qǐ fán", "qf", "乞求施舍。", "", "composed"),
            ("𪚥", "", "", "无读音。", "", ""),
        ])
        self.assertEqual(rows[2]["en"], "green; surname")
        self.assertEqual(st["no_pinyin"], 1)

    def test_compose(self):
        lex = {"长大": ["zhǎng", "dà"], "大夫": ["dài", "fu"]}
        char = {"长": "cháng", "大": "dà", "成": "chéng", "一": "yī", "人": "rén"}.get
        cases = [("长大成人", "zhǎng dà chéng rén"), ("一长", "yī cháng"), ("大夫人", "dài fu rén")]
        for w, want in cases:
            with self.subTest(w=w):
                self.assertEqual(words.compose_pinyin(w, lex, char), want)
        self.assertEqual(words.compose_pinyin("长x", lex, char), "")


class FetchTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()

    def _src(self, sha):
        return {"id": "t", "kind": "npm", "name": "t", "version": "1", "file": "t-1.tgz", "sha256": sha}

    def test_cached_file_checked(self):
        p = os.path.join(self.tmp, "t-1.tgz")
        with open(p, "wb") as f:
            f.write(b"abc")
        good = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"
        self.assertEqual(sources.ensure(self._src(good), self.tmp, log=lambda m: None), p)
        with self.assertRaises(sources.SourceError) as cm:
            sources.ensure(self._src("0" * 64), self.tmp, log=lambda m: None)
        self.assertIn("sha256", str(cm.exception))
        self.assertTrue(os.path.exists(p))  # nothing is deleted

    def test_fetch_failure_leaves_nothing(self):
        src = self._src("0" * 64)
        src["kind"] = "deb"
        src["name"] = "no-such-package-qinghe-test"
        old = os.environ.get("PATH")
        os.environ["PATH"] = self.tmp  # no apt-get: fails at once, without network
        try:
            with self.assertRaises(sources.SourceError):
                sources.ensure(src, self.tmp, log=lambda m: None)
        finally:
            os.environ["PATH"] = old
        self.assertEqual(os.listdir(self.tmp), [])

    def test_deb_member(self):
        data = io.BytesIO()
        with tarfile.open(fileobj=data, mode="w:xz") as t:
            body = bz2.compress(b"U+4E2D\tkMandarin\tzhong1\n")
            info = tarfile.TarInfo("./usr/share/unicode/x.bz2")
            info.size = len(body)
            t.addfile(info, io.BytesIO(body))
        blob = data.getvalue()

        def member(name, payload):
            hdr = ("%-16s%-12s%-6s%-6s%-8s%-10d`\n" % (name, "0", "0", "0", "100644", len(payload))).encode()
            return hdr + payload + (b"\n" if len(payload) % 2 else b"")
        p = os.path.join(self.tmp, "x.deb")
        with open(p, "wb") as f:
            f.write(b"!<arch>\n" + member("debian-binary", b"2.0\n") + member("data.tar.xz", blob))
        pkg = sources.Package({"kind": "deb", "name": "x", "version": "1"}, p)
        self.assertEqual(bz2.decompress(pkg.read("./usr/share/unicode/x.bz2")), b"U+4E2D\tkMandarin\tzhong1\n")
        with self.assertRaises(sources.SourceError):
            pkg.read("./missing")
        bad = os.path.join(self.tmp, "bad.deb")
        with open(bad, "wb") as f:
            f.write(b"not an archive")
        with self.assertRaises(sources.SourceError):
            sources.Package({"kind": "deb", "name": "x", "version": "1"}, bad).read("a")


if __name__ == "__main__":
    unittest.main()
