"""Words: CC-CEDICT (from the hanzi package), cnchar-data explanations and
pinyin-pro readings merged into the rows of kest_cd."""

import json
import re

from pinyin import citation_tones, initials, numbered_to_marked


class DataError(ValueError):
    pass


# --- CC-CEDICT ---------------------------------------------------------------

_CEDICT_LINE = re.compile(r"^(\S+) (\S+) \[([^\]]*)\] /(.*)/\s*$")


def cedict_text_from_js(src):
    """hanzi ships the dictionary as `module.exports = \\`…\\`;`."""
    start = src.find("`")
    end = src.rfind("`")
    if start < 0 or end <= start:
        raise DataError("cedict_ts.u8.js: no template literal found")
    body = src[start + 1:end]
    if "${" in body or "\\" in body:
        # escapes would need a JS evaluator; the pinned file has none
        raise DataError("cedict_ts.u8.js: template literal holds escapes or substitutions")
    return body


def parse_cedict(text):
    """Return (entries, header, skipped).  entries: (trad, simp, pinyin_numbered, [glosses])."""
    entries, header, skipped = [], {}, 0
    for line in text.split("\n"):
        if not line.strip():
            continue
        if line.startswith("#"):
            m = re.match(r"#! (\w+)=(.*)", line)
            if m:
                header[m.group(1)] = m.group(2).strip()
            continue
        m = _CEDICT_LINE.match(line)
        if not m:
            skipped += 1
            continue
        glosses = [g for g in m.group(4).split("/") if g]
        entries.append((m.group(1), m.group(2), m.group(3), glosses))
    return entries, header, skipped


# --- cnchar-data explanations -------------------------------------------------

# The scrape of cnchar-data lost "。后" (full stop + 后 "later") in about four
# thousand entries and left a "◇" instead: "…没有办法了◇以…比喻" for
# "…没有办法了。后以…比喻", "贤明的君主◇，君主" for "…君主。后，君主" (哲后).
# Entries in the 现代汉语词典 style (examples with "～") use "◇" on purpose to
# mark a figurative example ("◇思想～"); those are kept, unless the text after
# it reads as a continuation ("◇来用…" = "后来用…").
_CONTINUATION = re.compile(r"◇(?=来|因|遂|以|用|亦|泛|多|即|世|人|称|指|比喻|借|转|引申|乃|又|演变)")


def repair_diamond(text):
    """Return (repaired text, number of repairs)."""
    if "◇" not in text:
        return text, 0
    if "～" in text:
        new, n = _CONTINUATION.subn("。后", text)
        return new.replace("。。后", "。后"), n
    n = text.count("◇")
    # keep the sentence break once when the source already ends a sentence
    new = re.sub(r"[。]?◇", "。后", text)
    if new.startswith("。后"):
        new = new[1:]
    return new, n


def parse_explanations(name, raw):
    """One explanation/*.json file -> {word: text}; raises DataError on bad JSON."""
    try:
        data = json.loads(raw)
    except ValueError as e:
        raise DataError("%s: not JSON: %s" % (name, e))
    if not isinstance(data, dict):
        raise DataError("%s: not a JSON object" % name)
    return {k: v.strip() for k, v in data.items() if isinstance(k, str) and isinstance(v, str)}


# Cross references lost their opening quote: '同花花世界”' for '同“花花世界”',
# '又称磁盘机”'.  Put back only right after a word that introduces one.
HAN = r"\u3400-\u4dbf\u4e00-\u9fff\U00020000-\U0002ffff"
_REF_RE = re.compile(r"(同|也作|亦作|也说|亦说|也称|亦称|又作|又称|犹言|参见|见|简称|原称|通称|俗称|旧称|又名)"
                     r"([%s，]{2,12})”" % HAN)


def repair_refs(text):
    """Return (text with the opening quotes of references put back, repairs);
    a text that has any opening quote is left as it is."""
    if "“" in text:
        return text, 0
    return _REF_RE.subn(r"\1“\2”", text)


# The scrape also lost characters from the keys: "石" holds 石蜐's text ("亦作
# "石蜐"…一种介壳类动物"), "中" 见"中泠", "山" 兽名; of the 301 one-character
# keys hardly one explains its character, so none is kept.  And where the
# traditional text was converted, "见"一閧"" became a pointer to the word
# itself ("一哄": 见"一哄"), which says nothing.
_SELF_POINTER = "1.见\"%s\"。"


def usable_explanation(word, text):
    return len(word) > 1 and bool(text) and text != _SELF_POINTER % word


def load_explanations(pkg, log=print):
    out, files, bad, repaired, refs, dropped = {}, 0, [], 0, 0, {"single": 0, "empty": 0, "self": 0}
    for name, raw in pkg.iter_members("package/explanation/", ".json"):
        files += 1
        try:
            d = parse_explanations(name, raw.decode("utf-8"))
        except (DataError, UnicodeDecodeError) as e:
            bad.append(str(e))
            continue
        for k, v in d.items():
            if not usable_explanation(k, v):
                dropped["single" if len(k) == 1 else "empty" if not v else "self"] += 1
                continue
            v, n = repair_diamond(v)
            repaired += n
            v, n = repair_refs(v)
            refs += n
            out.setdefault(k, v)
    return out, {"files": files, "bad_files": bad, "diamond_repairs": repaired, "ref_repairs": refs,
                 "dropped": dropped}


# --- pinyin-pro / cnchar-poly --------------------------------------------------

def parse_pinyin_pro(raw):
    """complete.json: {word: [pinyin, frequency]} -> {word: (pinyin, freq)}
    with citation tones for 一/不."""
    data = json.loads(raw)
    out, skipped = {}, 0
    for w, v in data.items():
        if not (isinstance(v, list) and v and isinstance(v[0], str)):
            skipped += 1
            continue
        syl = v[0].split()
        freq = v[1] if len(v) > 1 and isinstance(v[1], (int, float)) else 0.0
        out[w] = (" ".join(citation_tones(w, syl)), float(freq))
    return out, skipped


def parse_poly(table):
    """cnchar-poly {word: 'táo nàn'} with citation tones for 一/不."""
    out = {}
    for w, p in table.items():
        if isinstance(p, str):
            out[w] = " ".join(citation_tones(w, p.split()))
    return out


def _lexicon(by_word, pro, poly):
    lex = {}
    for w, (p, _) in pro.items():
        if len(w) > 1:
            lex[w] = p.split()
    for w, rds in by_word.items():
        if len(w) > 1:
            syl = next(iter(rds.values()))["spell"].split()
            if len(syl) == len(w):
                lex[w] = syl
    for w, p in poly.items():
        if len(w) > 1:
            lex[w] = p.split()
    return lex


# --- merge ---------------------------------------------------------------------

def _spell_key(spell):
    return spell.lower()


def compose_pinyin(word, lexicon, char_reading, maxlen=8):
    """Reading of a word no source spells: longest known words first (forward
    maximum matching over lexicon {word: [syllables]}), single characters
    from char_reading.  '' when a character has no reading at all."""
    out, i, n = [], 0, len(word)
    while i < n:
        for j in range(min(n, i + maxlen), i + 1, -1):
            syl = lexicon.get(word[i:j])
            if syl and len(syl) == j - i:
                out.extend(syl)
                i = j
                break
        else:
            r = char_reading(word[i])
            if not r:
                return ""
            out.append(r)
            i += 1
    return " ".join(citation_tones(word, out))


def build_word_rows(cedict, explanations, pro, poly, char_reading=None, log=print):
    """Rows for kest_cd, common words first.

    One row per word and reading: CEDICT entries with the same simplified form
    and reading are merged (their glosses joined); a Chinese explanation goes
    to the reading pinyin-pro/cnchar-poly give for the word (else the first).
    Words only cnchar-data explains take their reading from cnchar-poly, then
    pinyin-pro, else are composed from the readings of their parts
    (compose_pinyin); pysrc tells which.
    """
    char_reading = char_reading or (lambda c: "")
    by_word = {}
    for trad, simp, py, glosses in cedict:
        spell = numbered_to_marked(py).lower()
        readings = by_word.setdefault(simp, {})
        key = _spell_key(spell)
        if key not in readings:
            readings[key] = {"spell": spell, "trad": trad, "glosses": []}
        r = readings[key]
        for g in glosses:
            if g not in r["glosses"]:
                r["glosses"].append(g)
    stats = {"cedict_words": len(by_word), "explained_only": 0, "no_pinyin": 0,
             "explained": 0, "composed": 0}
    lexicon = None

    rows = []
    words = list(by_word)
    words += [w for w in explanations if w not in by_word]
    for w in words:
        expl = explanations.get(w, "")
        hint = poly.get(w) or (pro[w][0] if w in pro else "")
        freq = pro[w][1] if w in pro else 0.0
        if w in by_word:
            rds = list(by_word[w].values())
            src = "cedict"
        else:
            stats["explained_only"] += 1
            src = "cnchar-poly" if w in poly else "pinyin-pro" if w in pro else ""
            if not hint:
                if lexicon is None:
                    lexicon = _lexicon(by_word, pro, poly)
                hint = compose_pinyin(w, lexicon, char_reading)
                src = "composed" if hint else ""
                stats["composed" if hint else "no_pinyin"] += 1
            rds = [{"spell": hint, "trad": "", "glosses": []}]
        target = 0
        if expl and len(rds) > 1 and hint:
            for i, r in enumerate(rds):
                if r["spell"] == hint.lower():
                    target = i
                    break
        for i, r in enumerate(rds):
            en = "; ".join(r["glosses"])
            content = expl if (expl and i == target) else en
            if expl and i == target:
                stats["explained"] += 1
            rows.append({"word": w, "szm": initials(r["spell"]), "content": content,
                         "ord": r["trad"], "spell": r["spell"], "en": en, "freq": freq,
                         "pysrc": src})
    # stable sort: frequent words first, the rest in source order
    rows.sort(key=lambda r: -r["freq"])
    stats["rows"] = len(rows)
    return rows, stats
