"""Characters: cnchar tables, Unihan fields and rime stroke codes merged into
the rows of kest_hz (one row per reading)."""

import bz2
import re

from jsbundle import find_table, json_tables
from pinyin import PinyinError, mark_syllable, split_marked, toneless_ascii


class DataError(ValueError):
    pass


# --- stroke codes --------------------------------------------------------

# cnchar names each stroke with a letter.  Mainland order codes use five
# classes: 横/提 1, 竖 2 (竖钩 included), 撇 3, 点/捺 4, every turning stroke 5.
# cnchar files 竖钩 (g) among the turning strokes; it counts as 竖 here.
CNCHAR_STROKE = {
    "j": "1",  # 横
    "i": "1",  # 提
    "f": "2",  # 竖
    "g": "2",  # 竖钩
    "s": "3",  # 撇
    "k": "4",  # 点
    "d": "4",  # 点 (left-falling variant, as in 心 火)
    "l": "4",  # 捺
}
CNCHAR_TURNING = set("abcehmnopqrtuvwxyz")

RIME_STROKE = str.maketrans("hspnz", "12345")


def cnchar_code(letters):
    """cnchar stroke letters -> digit code; unknown letters are an error."""
    out = []
    for ch in letters:
        if ch in CNCHAR_STROKE:
            out.append(CNCHAR_STROKE[ch])
        elif ch in CNCHAR_TURNING:
            out.append("5")
        else:
            raise DataError("unknown cnchar stroke letter %r in %r" % (ch, letters))
    return "".join(out)


def parse_rime_stroke(text):
    """Parse stroke.dict.yaml.

    The table holds a Taiwan-glyph section, then (after a comment block) a
    section for the characters whose mainland order differs.  Returns
    (taiwan, mainland, stats); codes are digit strings.  Malformed entries
    are skipped and counted.
    """
    taiwan, mainland = {}, {}
    stats = {"skipped": 0, "mainland_start_line": 0, "dup": 0}
    in_body = False
    section = taiwan
    seen_data = False
    for lineno, line in enumerate(text.split("\n"), 1):
        if not in_body:
            if line.strip() == "...":
                in_body = True
            continue
        if not line.strip():
            continue
        if line.startswith("#"):
            if seen_data and section is taiwan:
                section = mainland
            continue
        parts = line.split("\t")
        if len(parts) < 2 or len(parts[0]) != 1 or not re.fullmatch(r"[hspnz]+", parts[1]):
            stats["skipped"] += 1
            continue
        seen_data = True
        if section is mainland and not stats["mainland_start_line"]:
            stats["mainland_start_line"] = lineno
        if parts[0] in section:
            stats["dup"] += 1
            continue
        section[parts[0]] = parts[1].translate(RIME_STROKE)
    if not in_body:
        raise DataError("stroke.dict.yaml: no '...' line ending the header")
    if not mainland:
        raise DataError("stroke.dict.yaml: no mainland section found")
    return taiwan, mainland, stats


def rime_code(ch, taiwan, mainland):
    """Mainland entry where the character stands in both sections."""
    if ch in mainland:
        return mainland[ch], "rime-mainland"
    if ch in taiwan:
        return taiwan[ch], "rime-taiwan"
    return "", ""


def cross_check(cn_codes, taiwan, mainland):
    """Agreement of cnchar codes with the rime mainland section (and with the
    mainland-over-Taiwan merge)."""
    both = [c for c in cn_codes if c in mainland]
    agree = [c for c in both if cn_codes[c] == mainland[c]]
    merged = [c for c in cn_codes if c in mainland or c in taiwan]
    agree_m = [c for c in merged if cn_codes[c] == rime_code(c, taiwan, mainland)[0]]
    differ = [c for c in both if cn_codes[c] != mainland[c]]
    return {"mainland_n": len(both), "mainland_agree": len(agree),
            "merged_n": len(merged), "merged_agree": len(agree_m),
            "differ": differ}


# --- cnchar tables ---------------------------------------------------------

def parse_cnchar_spell(table):
    """{'zhong': '2:中6中9…'} -> {'中': ['zhōng', 'zhòng']}.

    Each character carries a digit: 0-4 tone (0 neutral), 5-9 the same tone
    for a character with several readings.  The number before ':' is where
    the tone mark goes; we place marks by rule instead.
    """
    out = {}
    for py, val in table.items():
        if not isinstance(val, str) or ":" not in val:
            raise DataError("cnchar spell entry %r is not 'N:…'" % py)
        _, chars = val.split(":", 1)
        if len(re.sub(r"\D\d", "", chars)) != 0:
            raise DataError("cnchar spell entry %r has a character without a tone digit" % py)
        for ch, d in re.findall(r"(\D)(\d)", chars):
            tone = int(d) % 5
            syl = mark_syllable(py + str(tone if tone else 5))
            lst = out.setdefault(ch, [])
            if syl not in lst:
                lst.append(syl)
    return out


def parse_cnchar_counts(table):
    """{'4': '不丐…'} -> {'不': 4}"""
    out = {}
    for n, chars in table.items():
        for ch in chars:
            out[ch] = int(n)
    return out


STRUCTURE_KEYS = set("abcdefgh")


def parse_cnchar_radical(table, structures):
    """{'丨': '1:丫c中c…', '*': '一c1…'} -> {'中': ('丨', '独体结构')}.

    '*' lists the radicals themselves with structure and stroke count."""
    out = {}
    for rad, val in table.items():
        if rad == "*":
            for ch, st in re.findall(r"(\D)([a-h])\d+", val):
                out.setdefault(ch, (ch, structures.get(st, "")))
            continue
        if ":" not in val:
            raise DataError("cnchar radical entry %r is not 'N:…'" % rad)
        _, chars = val.split(":", 1)
        for ch, st in re.findall(r"(.)([a-h])", chars):
            out[ch] = (rad.strip(), structures.get(st, ""))
    return out


def parse_cnchar_trad(table):
    s, t = table["simple"], table["trad"]
    if len(s) != len(t):
        raise DataError("cnchar-trad simple/trad strings differ in length")
    out = {}
    for a, b in zip(s, t):
        out.setdefault(a, b)
    return out


def parse_cnchar_info(table):
    """{'中': 'bcㄓㄨㄥ'} -> {'中': 'ㄓㄨㄥ'} (the two leading letters are
    five-element and formation classes)."""
    out = {}
    for ch, val in table.items():
        z = val[2:] if isinstance(val, str) else ""
        if re.fullmatch(r"[\u3105-\u312f\u31a0-\u31bfˊˇˋ˙]+", z or "-"):
            out[ch] = z
    return out


def load_cnchar(pkgs):
    main = json_tables(pkgs["cnchar"].text("package/cnchar.min.js"))
    spell_t = find_table(main, lambda t: isinstance(t, dict) and isinstance(t.get("ai"), str)
                         and ":" in t.get("ai", ""), "spell")
    count_t = find_table(main, lambda t: isinstance(t, dict) and "一" in str(t.get("1", "")), "stroke count")
    order = json_tables(pkgs["cnchar-order"].text("package/cnchar.order.min.js"))
    order_t = find_table(order, lambda t: isinstance(t, dict) and t.get("一") == "j", "stroke order")
    rad = json_tables(pkgs["cnchar-radical"].text("package/cnchar.radical.min.js"))
    struct_t = find_table(rad, lambda t: isinstance(t, dict) and set(t) == STRUCTURE_KEYS, "structure")
    rad_t = find_table(rad, lambda t: isinstance(t, dict) and "*" in t, "radical")
    trad = json_tables(pkgs["cnchar-trad"].text("package/cnchar.trad.min.js"))
    trad_t = find_table(trad, lambda t: isinstance(t, dict) and set(t) == {"simple", "trad"}, "trad")
    info = json_tables(pkgs["cnchar-info"].text("package/cnchar.info.min.js"))
    info_t = find_table(info, lambda t: isinstance(t, dict) and len(t) > 1000, "info")
    return {
        "spell": parse_cnchar_spell(spell_t),
        "counts": parse_cnchar_counts(count_t),
        "order": {c: cnchar_code(v) for c, v in order_t.items()},
        "radical": parse_cnchar_radical(rad_t, struct_t),
        "trad": parse_cnchar_trad(trad_t),
        "zhuyin": parse_cnchar_info(info_t),
    }


# --- Unihan ----------------------------------------------------------------

UNIHAN_FIELDS = {"kMandarin", "kTGHZ2013", "kDefinition", "kTotalStrokes", "kRSUnicode",
                 "kTGH", "kTraditionalVariant", "kSimplifiedVariant", "kFrequency", "kHanyuPinlu"}
UNIHAN_FILES = ["Unihan_Readings.txt.bz2", "Unihan_IRGSources.txt.bz2", "Unihan_OtherMappings.txt.bz2",
                "Unihan_Variants.txt.bz2", "Unihan_DictionaryLikeData.txt.bz2"]


def parse_unihan(lines, fields=UNIHAN_FIELDS, into=None, stats=None):
    """'U+4E2D<TAB>kMandarin<TAB>zhōng' lines -> {'中': {'kMandarin': 'zhōng'}}"""
    out = {} if into is None else into
    for line in lines:
        if not line or line.startswith("#"):
            continue
        parts = line.rstrip("\n").split("\t")
        if len(parts) != 3 or not parts[0].startswith("U+"):
            if stats is not None:
                stats["skipped"] = stats.get("skipped", 0) + 1
            continue
        if parts[1] not in fields:
            continue
        try:
            ch = chr(int(parts[0][2:], 16))
        except ValueError:
            if stats is not None:
                stats["skipped"] = stats.get("skipped", 0) + 1
            continue
        out.setdefault(ch, {})[parts[1]] = parts[2]
    return out


def parse_cjk_radicals(text):
    """CJKRadicals.txt -> {"1": "一", "120'": "纟"} (the unified ideograph)."""
    out = {}
    for line in text.split("\n"):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        parts = [p.strip() for p in line.split(";")]
        if len(parts) != 3:
            continue
        try:
            out[parts[0]] = chr(int(parts[2], 16))
        except ValueError:
            continue
    return out


def rs_radical(rs, radicals):
    """kRSUnicode '120\\'.3 …' -> '纟' (first value), '' if unknown."""
    if not rs:
        return ""
    m = re.match(r"(\d+'*)\.", rs.split()[0])
    if not m:
        return ""
    key = m.group(1)
    return radicals.get(key) or radicals.get(key.rstrip("'"), "")


def tghz_readings(val):
    """kTGHZ2013 '212.080:le 223.010,223.020:liǎo' -> ['le', 'liǎo']"""
    out = []
    for item in val.split():
        if ":" not in item:
            raise DataError("bad kTGHZ2013 value %r" % val)
        for r in item.split(":", 1)[1].split(","):
            if r and r not in out:
                out.append(r)
    return out


def main_reading_first(readings, f):
    """Readings ordered by how often they are read: kHanyuPinlu's counts
    (行 xíng 2943, háng 218), then kMandarin's customary reading, then the
    rest as given.  kTGHZ2013 lists readings by page, alphabetically, which
    would put 石 dàn before shí."""
    freq = {}
    for item in f.get("kHanyuPinlu", "").split():
        m = re.fullmatch(r"(.+)\((\d+)\)", item)
        if m:
            freq.setdefault(m.group(1), int(m.group(2)))
    customary = f.get("kMandarin", "").split()[:1]

    def key(r):
        if r in freq:
            return (0, -freq[r])
        return (1, 0) if r in customary else (2, 0)
    return sorted(readings, key=key)


def code_lookup(cn_order, taiwan, mainland):
    """(preferred code of c, every code known for c)"""
    def code_of(c):
        return cn_order.get(c) or rime_code(c, taiwan, mainland)[0]

    def variants_of(c):
        return [x for x in (cn_order.get(c), mainland.get(c), taiwan.get(c)) if x]
    return code_of, variants_of


def stroke_counts(uh, cn_counts):
    out = dict(cn_counts)
    for c, f in uh.items():
        n = _first_int(f.get("kTotalStrokes"))
        if n is not None:
            out[c] = n
    return out


# --- stroke counts: kTotalStrokes against the radical and the list order ---

def _rs(f):
    """kRSUnicode (first value) -> (radical, residual strokes): "120'.15" -> ("120'", 15)."""
    m = re.match(r"(\d+'*)\.(-?\d+)", f.get("kRSUnicode", ""))
    return (m.group(1), int(m.group(2))) if m else None


def radical_strokes(uh, chars):
    """{kRSUnicode radical: strokes of its form}: kTotalStrokes minus the
    residual strokes, the value most of `chars` filed under that radical
    share (120' is 纟, 3; 170 is 阜, written 阝, 2).  A radical with two
    forms (心 忄) gets the commoner; one where two values tie gets none."""
    hist = {}
    for c in chars:
        f = uh.get(c, {})
        rs, n = _rs(f), _first_int(f.get("kTotalStrokes"))
        if rs and n is not None:
            h = hist.setdefault(rs[0], {})
            h[n - rs[1]] = h.get(n - rs[1], 0) + 1
    out = {}
    for key, h in hist.items():
        top = sorted(h.values(), reverse=True)
        if len(top) == 1 or top[0] > top[1]:
            out[key] = max(h, key=h.get)
    return out


def list_count_range(seq, counts, n, width=3):
    """(lowest, highest) stroke count the place of kTGH number n allows.

    Each level of the 通用规范汉字表 is sorted by stroke count, so n's count
    lies between the counts before it and those after it; each side is the
    median of `width` neighbours, so that one wrong neighbour does not move
    it.  None near the ends of a level or where the two sides cross."""
    lo, hi = next((r for r in TGH_LEVELS if r[0] <= n <= r[1]), (0, -1))

    def side(step):
        got, i = [], n + step
        while lo <= i <= hi and len(got) < width:
            c = counts.get(seq.get(i))
            if c is not None:
                got.append(c)
            i += step
        return sorted(got)[width // 2] if len(got) == width else None
    below, above = side(-1), side(1)
    if below is None or above is None or below > above:
        return None
    return below, above


def count_witnesses(uh, seq, counts, width=3):
    """[(char, kTotalStrokes, (a), (b))] in list order, the two witnesses
    independent of kTotalStrokes: (a) the radical's strokes
    (radical_strokes) plus kRSUnicode's residual strokes, (b) the range the
    place in the list allows (list_count_range); None where unknown."""
    rad = radical_strokes(uh, seq.values())
    out = []
    for n in sorted(seq):
        f = uh.get(seq[n], {})
        rs = _rs(f)
        a = rad[rs[0]] + rs[1] if rs and rs[0] in rad else None
        out.append((seq[n], _first_int(f.get("kTotalStrokes")), a, list_count_range(seq, counts, n, width)))
    return out


def correct_counts(witnesses):
    """Where kTotalStrokes lies outside what the list place allows and the
    radical's strokes plus the residual inside, take the latter.  Returns
    ({char: (kTotalStrokes, corrected)}, [characters outside the list place
    left as they are])."""
    fixed, left = {}, []
    for ch, old, a, rng in witnesses:
        if old is None or rng is None or rng[0] <= old <= rng[1]:
            continue
        if a is not None and rng[0] <= a <= rng[1]:
            fixed[ch] = (old, a)
        else:
            left.append(ch)
    return fixed, left


def witness_agreement(witnesses, ref):
    """Agreement with ref ({char: count}, cnchar's) where ref has the
    character: {"kTotalStrokes" | "list place" | "radical" | "radical in
    list place": (agreeing, compared)}; the last is the case correct_counts
    takes."""
    out = {k: [0, 0] for k in ("kTotalStrokes", "list place", "radical", "radical in list place")}

    def count(key, ok):
        out[key][0] += ok
        out[key][1] += 1
    for ch, old, a, rng in witnesses:
        k = ref.get(ch)
        if k is None:
            continue
        if old is not None:
            count("kTotalStrokes", old == k)
        if rng:
            count("list place", rng[0] <= k <= rng[1])
        if a is not None:
            count("radical", a == k)
            if rng and rng[0] <= a <= rng[1]:
                count("radical in list place", a == k)
    return {key: tuple(v) for key, v in out.items()}


def load_unihan(pkg):
    data, stats = {}, {}
    for name in UNIHAN_FILES:
        raw = bz2.decompress(pkg.read("./usr/share/unicode/" + name)).decode("utf-8")
        parse_unihan(raw.split("\n"), into=data, stats=stats)
    radicals = parse_cjk_radicals(pkg.text("./usr/share/unicode/CJKRadicals.txt"))
    return data, radicals, stats


# --- merge -------------------------------------------------------------------

def _first_int(val):
    m = re.match(r"\d+", val or "")
    return int(m.group()) if m else None


def _valid_reading(r):
    try:
        base, _ = split_marked(r)
    except Exception:
        return False
    base = base.replace("ê", "e")
    if not re.fullmatch(r"[a-zü]+", base):
        return False
    return bool(re.search(r"[aeiouü]", base)) or base in ("m", "n", "ng", "hm", "hng")


def build_char_rows(cn, uh, radicals, taiwan, mainland, explain, derived=None, log=print, derived_parts=None,
                    stroke_fixes=None, glyph_parts=None):
    """Return (rows, stats).  Rows are dicts keyed by kest_hz column name."""
    chars = set(cn["spell"])
    for ch, f in uh.items():
        if "kMandarin" in f or "kTGHZ2013" in f:
            chars.add(ch)
    stats = {"missing_reading": 0, "radical_from_unihan": 0, "empty_cnchar_radical": [],
             "tghz_vs_cnchar_differ": [], "strokes_vs_code": {}}
    derived = derived or {}
    derived_parts = derived_parts or {}
    glyph_parts = glyph_parts or {}
    stroke_fixes = stroke_fixes or {}

    def order_key(ch):
        f = uh.get(ch, {})
        tgh = f.get("kTGH", "")
        m = re.match(r"2013:(\d+)", tgh)
        if m:
            return (0, int(m.group(1)), 0)
        if ch in cn["spell"]:
            return (1, 0, ord(ch))
        return (2, _first_int(f.get("kFrequency")) or 9, ord(ch))

    rows = []
    for ch in sorted(chars, key=order_key):
        f = uh.get(ch, {})
        if "kTGHZ2013" in f:
            readings = tghz_readings(f["kTGHZ2013"])
            cnr = cn["spell"].get(ch)
            if cnr and set(cnr) != set(readings):
                stats["tghz_vs_cnchar_differ"].append(ch)
        elif ch in cn["spell"]:
            readings = list(cn["spell"][ch])
        else:
            readings = f.get("kMandarin", "").split()
        readings = main_reading_first([r for r in readings if _valid_reading(r)], f)
        if not readings:
            stats["missing_reading"] += 1
            continue
        m = re.match(r"2013:(\d+)", f.get("kTGH", ""))
        tgh = int(m.group(1)) if m else None
        level = None if tgh is None else (1 if tgh <= 3500 else 2 if tgh <= 6500 else 3)

        part, structure = "", ""
        if ch in cn["radical"]:
            part, structure = cn["radical"][ch]
        if ch in cn["spell"] and not part:
            # cnchar knows the character but gives no radical (刀 死 杀 …)
            stats["empty_cnchar_radical"].append(ch)
        if not part:
            part = rs_radical(f.get("kRSUnicode", ""), radicals)
            if part:
                stats["radical_from_unihan"] += 1

        if ch in cn["order"]:
            bhm, bsrc = cn["order"][ch], "cnchar"
        else:
            bhm, bsrc = rime_code(ch, taiwan, mainland)
            if not bhm and ch in derived:
                bhm, bsrc = derived[ch], "derived"
            elif not bhm and ch in derived_parts:
                bhm, bsrc = derived_parts[ch], "derived-parts"
            elif not bhm and ch in glyph_parts:
                bhm, bsrc = glyph_parts[ch], "glyph-parts"
        strokes, ssrc = _first_int(f.get("kTotalStrokes")), "unihan"
        if ch in stroke_fixes:
            strokes, ssrc = stroke_fixes[ch], "corrected"
        elif strokes is None:
            strokes, ssrc = cn["counts"].get(ch), "cnchar"
        ssrc = ssrc if strokes is not None else ""
        if bhm and strokes is not None and len(bhm) != strokes:
            stats["strokes_vs_code"][bsrc] = stats["strokes_vs_code"].get(bsrc, 0) + 1

        trad = cn["trad"].get(ch) or "".join(
            chr(int(v[2:], 16)) for v in f.get("kTraditionalVariant", "").split() if v.startswith("U+"))
        trad = trad or ch
        all_py = "，".join(readings)
        for r in readings:
            rows.append({
                "name": ch, "pinyin": r, "pinyins": all_py, "pycode": toneless_ascii(r),
                "part": part, "strokes": strokes, "bhm": bhm, "structure": structure,
                "trad": trad, "explain": explain.get(ch, ""), "english": f.get("kDefinition", ""),
                "tone": split_marked(r)[1], "level": level, "tgh": tgh,
                "ucode": "U+%04X" % ord(ch), "zhuyin": cn["zhuyin"].get(ch, "") if len(readings) == 1 else "",
                "bhmsrc": bsrc, "strokesrc": ssrc,
            })
    return rows, stats


# --- codes for simplified characters no stroke table lists ---------------------

# left-hand forms of simplified components, beside the cnchar-trad pairs
COMPONENT_PAIRS = {"糹": "纟", "訁": "讠", "釒": "钅", "飠": "饣", "𤇾": "𫇦"}
SIMPLIFIED_RADICALS = set("纟讠钅饣车贝门页马鸟鱼见韦风齿龙麦黾")


def derive_codes(targets, uh, code_of, trad_pairs, counts, variants_of=None):
    """Stroke codes for simplified characters that no table lists, from their
    traditional form: replace the code of a traditional component by the
    code of its simplified form ('僤' 32+251251251112 -> '𫢸' 32+43251112).
    A result counts only if exactly one code comes out with the character's
    stroke count, or exactly one of several replaced a whole part (see
    _derive).  Preferred codes are tried first; variants_of(c), every
    code known for c (a Taiwan-glyph code may differ from the mainland one),
    only for what is still open.  Returns {char: code}."""
    out = _derive(targets, uh, lambda c: [code_of(c)], code_of, trad_pairs, counts)
    if variants_of:
        rest = [c for c in targets if c not in out]
        out.update(_derive(rest, uh, variants_of, code_of, trad_pairs, counts))
    return out


def _derive(targets, uh, variants_of, code_of, trad_pairs, counts):
    pairs = dict(COMPONENT_PAIRS)
    for s, t in trad_pairs.items():
        pairs.setdefault(t, s)
    index = _index(_char_parts(pairs, variants_of, code_of))
    out = {}
    for ch in targets:
        results = _candidates(ch, uh, variants_of, index, counts)
        if len(results) > 1:
            results = {c: fit for c, fit in results.items() if fit}
        if len(results) == 1:
            out[ch] = next(iter(results))
    return out


def _char_parts(pairs, variants_of, code_of):
    """(traditional code, simplified code, simplified character) for each pair."""
    comp = []
    for t, s in pairs.items():
        cs = code_of(s)
        for ct in set(variants_of(t)):
            if ct and cs and len(ct) >= 3:
                comp.append((ct, cs, s))
    return comp


def _index(comp):
    """{traditional part: [(simplified part, simplified character)]}"""
    index = {}
    for ct, cs, s in comp:
        index.setdefault(ct, []).append((cs, s))
    return index


def _candidates(ch, uh, variants_of, index, counts):
    """{code with ch's stroke count: fit} from ch's traditional forms."""
    want = counts.get(ch)
    if want is None:
        return {}
    f = uh.get(ch, {})
    trads = [chr(int(v[2:], 16)) for v in f.get("kTraditionalVariant", "").split() if v.startswith("U+")]
    m = re.match(r"(\d+)('*)\.(\d+)", f.get("kRSUnicode", ""))
    residual = int(m.group(3)) if m else None
    simplified_radical = bool(m and m.group(2))
    results = {}
    for tc in {c for t in trads for c in variants_of(t) if c}:
        # one replacement, or two where the traditional form has two
        # simplified parts.  A replacement "fits" when what it puts in is
        # the simplified radical or has exactly the strokes beyond the
        # radical: then it replaced a whole part, not a look-alike run.
        frontier = {tc: False}
        for _ in range(2):
            nxt = {}
            for code, fit in frontier.items():
                for start in range(len(code) - 2):
                    for end in range(start + 3, len(code) + 1):
                        ct = code[start:end]
                        for cs, s in index.get(ct, ()):
                            ok = fit or (simplified_radical and s in SIMPLIFIED_RADICALS and code.startswith(ct)) \
                                or (residual is not None and len(cs) == residual)
                            c = code[:start] + cs + code[end:]
                            nxt[c] = nxt.get(c, False) or ok
            hits = {c: fit for c, fit in nxt.items() if len(c) == want}
            if hits:
                for c, fit in hits.items():
                    results[c] = results.get(c, False) or fit
                break
            frontier = nxt
    return results


# --- the characters still open: code parts, checked against the list order ---

# kTGH numbers: level 1, 2 and 3 of the 通用规范汉字表
TGH_LEVELS = ((1, 3500), (3501, 6500), (6501, 8105))


def tgh_sequence(uh):
    """{kTGH number: character} for the 通用规范汉字表."""
    out = {}
    for ch, f in uh.items():
        m = re.match(r"2013:(\d+)", f.get("kTGH", ""))
        if m:
            out[int(m.group(1))] = ch
    return out


class ListOrder:
    """The 通用规范汉字表 lists each level by stroke count, then by stroke
    order (横竖撇点折, stroke by stroke), so a code must sort between the
    nearest known codes of the same length around the character.  A
    neighbour counts only if its code has its stroke count (a Taiwan-glyph
    code of another length says nothing about the order); one of another
    count on the wrong side rejects the code."""

    def __init__(self, seq, code_of, counts):
        self.seq = seq
        self.pos = {c: n for n, c in seq.items()}
        self.code_of = code_of
        self.counts = counts

    def _known(self, n):
        ch = self.seq.get(n)
        code = self.code_of(ch) if ch else ""
        return code if code and len(code) == self.counts.get(ch) else ""

    def _neighbour(self, n, step, lo, hi, want):
        n += step
        while lo <= n <= hi:
            code = self._known(n)
            if code:
                if len(code) == want:
                    return code, True
                # step -1: a shorter code ends the group, a longer one contradicts it
                return None, (len(code) < want) == (step < 0)
            n += step
        return None, True

    def agreement(self):
        """(neighbouring known codes of one level and length in order, all such neighbours)"""
        ok = n = 0
        for lo, hi in TGH_LEVELS:
            known = [c for c in (self._known(i) for i in range(lo, hi + 1)) if c]
            for a, b in zip(known, known[1:]):
                if len(a) == len(b):
                    n += 1
                    ok += a <= b
        return ok, n

    def fits(self, ch, code):
        n = self.pos.get(ch)
        if n is None:
            return False
        lo, hi = next(r for r in TGH_LEVELS if r[0] <= n <= r[1])
        before, ok1 = self._neighbour(n, -1, lo, hi, len(code))
        after, ok2 = self._neighbour(n, 1, lo, hi, len(code))
        if not (ok1 and ok2) or (before is None and after is None):
            return False
        return (before is None or before <= code) and (after is None or code <= after)


def unihan_pairs(uh):
    """{traditional: simplified} from kTraditionalVariant (巠 -> 𢀖)."""
    out = {}
    for s, f in uh.items():
        for v in f.get("kTraditionalVariant", "").split():
            if v.startswith("U+"):
                t = chr(int(v[2:], 16))
                if t != s:
                    out.setdefault(t, s)
    return out


LEFT_FORMS = {"糹": "纟", "訁": "讠", "釒": "钅", "飠": "饣"}


def code_parts(pairs, code_of, variants_of, all_splits):
    """Code-level pairs from the codes of whole-character pairs.

    Where a traditional code and its simplified one share a beginning or an
    end, the parts between are a pair of their own (學 3211343451145521 /
    学 44345521 -> 32113434511 / 443).  all_splits: every way of keeping at
    least three common strokes (-> 3211343451145 / 44345 too), else only the
    smallest parts.  And where both sides begin with a left-hand form, what
    follows it (紵 55444444512 / 纻 5514451 -> 44512 / 4451).  Returns a set
    of (traditional part, simplified part), each traditional part at least
    three strokes."""
    left = [(ct, code_of(s)) for t, s in LEFT_FORMS.items() for ct in set(variants_of(t)) if ct and code_of(s)]
    out = set()
    for t, s in pairs.items():
        cs = code_of(s)
        if not cs:
            continue
        for ct in set(variants_of(t)):
            if not ct or ct == cs:
                continue
            p = 0
            while p < min(len(cs), len(ct)) and cs[p] == ct[p]:
                p += 1
            q = 0
            while q < min(len(cs), len(ct)) - p and cs[-1 - q] == ct[-1 - q]:
                q += 1
            splits = [(a, b) for a in range(p + 1) for b in range(q + 1)] if all_splits else [(p, q)]
            for a, b in splits:
                pt, ps = ct[a:len(ct) - b], cs[a:len(cs) - b]
                if a + b >= 3 and len(pt) >= 3 and pt != ps:
                    out.add((pt, ps))
            for lt, ls in left:
                if ct.startswith(lt) and cs.startswith(ls):
                    pt, ps = ct[len(lt):], cs[len(ls):]
                    if len(pt) >= 3 and pt != ps:
                        out.add((pt, ps))
    return out


def derive_more(targets, uh, code_of, variants_of, trad_pairs, counts, order):
    """Codes for 通用规范 characters that derive_codes leaves open.

    Replacements as in derive_codes, with Unihan's variant pairs and the code
    parts of all pairs (code_parts) besides; the smallest parts first, every
    split only for what is still open.  A code counts only if it is the only
    one with the stroke count that fits the list order (ListOrder) and it
    replaced a whole part.  Returns {char: (code, 1 or 2)}."""
    pairs = dict(COMPONENT_PAIRS)
    for s, t in trad_pairs.items():
        pairs.setdefault(t, s)
    for t, s in unihan_pairs(uh).items():
        pairs.setdefault(t, s)
    chars = _char_parts(pairs, variants_of, code_of)
    out = {}
    for stage, all_splits in ((1, False), (2, True)):
        rest = [c for c in targets if c not in out]
        if not rest:
            break
        parts = [(pt, ps, None) for pt, ps in sorted(code_parts(pairs, code_of, variants_of, all_splits))]
        index = _index(chars + parts)
        for ch in rest:
            results = {c: fit for c, fit in _candidates(ch, uh, variants_of, index, counts).items()
                       if order.fits(ch, c)}
            if len(results) == 1:
                code, fit = next(iter(results.items()))
                if fit:
                    out[ch] = (code, stage)
    return out


# --- the last ones: parts read off the glyph ------------------------------------

# Two 通用规范 characters that no stroke table lists and no pair derives, split
# into the parts their glyph shows (Noto CJK, Debian fonts-noto-cjk 20220127):
# 𬌗 (咬𬌗) is 牙 beside 合, 𬒔 (a Guangdong place name) is 石 beside 肯.  牙 and
# 石 keep their strokes on the left (邪 152352, 砑 132511523), so the code is
# the parts' codes in a row.
GLYPH_PARTS = {"𬌗": "牙合", "𬒔": "石肯"}


def codes_from_glyph_parts(targets, code_of, counts, order, parts=GLYPH_PARTS):
    """{char: code} for the targets listed in parts whose parts all have a
    code, kept only where the code has the character's stroke count and
    fits the list order."""
    out = {}
    for ch in targets:
        codes = [code_of(p) for p in parts.get(ch, "")]
        if not codes or not all(codes):
            continue
        code = "".join(codes)
        if len(code) == counts.get(ch) and order.fits(ch, code):
            out[ch] = code
    return out
