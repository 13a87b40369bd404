"""Idioms: chengyu data/3.txt into kest_cy rows, with the repairs the scrape
needs (lost opening quotes and colons, the "◇" artefact)."""

import re

from pinyin import PinyinError, initials, mark_syllable
from words import HAN, repair_diamond, repair_refs

LABELS = ("拼音", "释义", "出处", "示例")
_LABEL_RE = re.compile(r"(拼音|释义|出处|示例)：")
_NAME_RE = re.compile(r"^[%s，、·]{2,16}$" % HAN)
_NUM = "一二三四五六七八九十百千零〇两0-9"

# what may stand between a work's title and the quotation from it
# (kept to forms that cannot be the first word of the quotation)
_SUFFIX = (r"(?:第[%s]+[回卷折章篇出节首则场幕部集]|卷[%s]+|楔子|[上中下]卷|[上中下]篇|"
           r"诗之[%s]+|词|诗|曲|赋)?") % (_NUM, _NUM, _NUM)
_SUFFIX_RE = re.compile(_SUFFIX)
# dynasty·author《work》suffix, nothing else before the quotation
_CITATION = r"^((?:[%s·、（）]{0,24})《[^《》“”]{1,40}》%s)" % (HAN, _SUFFIX)
_CITATION_RE = re.compile(_CITATION)
_CITE_RE = re.compile(_CITATION + r"([^《》“”：:]{2,}?)”")


class IdiomError(ValueError):
    pass


def parse_line(line):
    """' 花好月圆  拼音：…释义：…出处：…示例：…' -> dict, or raise IdiomError."""
    s = line.strip()
    m = _LABEL_RE.search(s)
    if not m or m.group(1) != "拼音":
        raise IdiomError("no 拼音 label where the record starts")
    name = s[:m.start()].strip()
    if not _NAME_RE.match(name):
        raise IdiomError("not an idiom: %r" % name[:20])
    fields = {}
    pos = [(mm.group(1), mm.start(), mm.end()) for mm in _LABEL_RE.finditer(s)]
    for i, (lab, _, end) in enumerate(pos):
        stop = pos[i + 1][1] if i + 1 < len(pos) else len(s)
        if lab in fields:
            raise IdiomError("label %s twice" % lab)
        fields[lab] = s[end:stop].strip()
    if "示例" not in fields and "出处" in fields:
        # a few records lost the 示例 label to a mangled encoding ("⑹纠：无")
        mm = re.search(r".纠：(.*)$", fields["出处"])
        if mm:
            fields["出处"] = fields["出处"][:mm.start()]
            fields["示例"] = mm.group(1)
    for lab in LABELS:
        v = fields.get(lab, "")
        fields[lab] = "" if v == "无" else v
    fields["拼音"] = normalise_pinyin(fields["拼音"])
    if not re.fullmatch(r"[a-zāáǎàēéěèīíǐìōóǒòūúǔùüǖǘǚǜńňǹḿ ，,·\-']+", fields["拼音"]):
        raise IdiomError("pinyin field is not pinyin: %r" % fields["拼音"][:30])
    return name, fields


def normalise_pinyin(py):
    """Spacing and look-alike letters of the scraped pinyin: ideographic
    spaces, 'ɡ' (U+0261) for g, a lost syllable break, a stray tone digit
    ('diu1')."""
    py = py.replace("\u3000", " ").replace("ɡ", "g")
    # a lost break shows as ? or @ right after a marked vowel ("zhuā?ěr");
    # elsewhere ("ji?èr") a letter went missing too and the record stays bad
    py = re.sub(r"(?<=[āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜ])[?@]", " ", py)
    py = py.replace("、", "，")
    toks = []
    for tok in py.split():
        if re.fullmatch(r"[a-z]+[1-5]", tok):
            try:
                tok = mark_syllable(tok)
            except PinyinError:
                pass
        toks.append(tok)
    return " ".join(toks)


def repair_quotes(text):
    """Put back the opening quote (and the colon before it) of a quotation that
    follows a cited work: '宋·张先《木兰花》词人意共怜…”' -> '…》词：“人意共怜…”'.
    Only quotations with no opening quote and a recognisable citation right
    before them are touched.  Returns (text, repairs)."""
    out, n, rest = [], 0, text
    while True:
        i = rest.find("”")
        if i < 0:
            out.append(rest)
            break
        seg = rest[:i + 1]
        rest = rest[i + 1:]
        if "“" in seg:
            out.append(seg)
            continue
        m = _CITE_RE.match(seg)
        if m and m.end() == len(seg):
            if _SUFFIX_RE.fullmatch(m.group(2)):
                # '《谢天香》第二折”便使…”': the opening quote came out as a closing one
                out.append(m.group(1) + m.group(2) + "：“")
            else:
                out.append(m.group(1) + "：“" + m.group(2) + "”")
            n += 1
        else:
            out.append(seg)
    return "".join(out), n


def repair_colons(name, text):
    """'遵遵循，按照；时时势；晦隐藏。原为…' -> '遵：遵循，按照；时：时势；晦：隐藏。原为…'.

    Only when every '；'-separated part of the first sentence (at least two)
    starts with a piece of the idiom, in the idiom's order."""
    head, sep, tail = text.partition("。")
    parts = head.split("；")
    if len(parts) < 2:
        return text, 0
    fixed, last = [], -1
    for p in parts:
        best = ""
        for k in range(min(4, len(p) - 1), 0, -1):
            if p[:k] in name and p[k] not in "：:，":
                best = p[:k]
                break
        if not best:
            return text, 0
        at = name.find(best)
        if at < last:
            return text, 0
        last = at
        fixed.append(best + "：" + p[len(best):])
    return "；".join(fixed) + sep + tail, len(fixed)


def citation_of(source):
    m = _CITATION_RE.match(source)
    return m.group(1) if m else ""


def parse_chengyu(text):
    """Return (records, stats).  records: dicts keyed by kest_cy column."""
    stats = {"lines": 0, "skipped": [], "duplicates": 0, "quote_repairs": 0,
             "colon_repairs": 0, "diamond_repairs": 0}
    recs, index = [], {}
    for lineno, line in enumerate(text.split("\n"), 1):
        if not line.strip():
            continue
        stats["lines"] += 1
        try:
            name, f = parse_line(line)
        except IdiomError as e:
            stats["skipped"].append("line %d: %s" % (lineno, e))
            continue
        expl, n1 = repair_diamond(f["释义"])
        expl, n2 = repair_colons(name, expl)
        expl, n3 = repair_refs(expl)
        src, n4 = repair_quotes(f["出处"])
        src, n5 = repair_diamond(src)
        stats["diamond_repairs"] += n1 + n5
        stats["colon_repairs"] += n2
        stats["quote_repairs"] += n3 + n4
        rec = {"ChengYu": name, "PingYin": f["拼音"], "content": expl, "derivation": src,
               "ChuChu": citation_of(src), "samples": f["示例"], "pyjm": initials(f["拼音"])}
        key = (name, f["拼音"])
        if key in index:
            # same idiom twice: keep the first, fill what it lacks from the later one
            stats["duplicates"] += 1
            old = index[key]
            for k, v in rec.items():
                if not old[k] and v:
                    old[k] = v
            continue
        index[key] = rec
        recs.append(rec)
    return recs, stats
