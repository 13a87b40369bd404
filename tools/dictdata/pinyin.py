"""Pinyin spelling helpers: tone numbers to tone marks and back, initials.

Conventions used throughout the database:
  * tone-marked pinyin is lower case, ü written as ü ("lǜ");
  * toneless ASCII pinyin (pycode) writes ü as "v" ("lv"), as users type it;
  * initials (szm, pyjm) are the first letter of each syllable ("zg" for 中国).
"""

import re
import unicodedata

# combining marks for tones 1-4
_TONE_MARK = {1: "\u0304", 2: "\u0301", 3: "\u030c", 4: "\u0300"}
_MARK_TONE = {v: k for k, v in _TONE_MARK.items()}
_VOWELS = "aeiouü"

_NUM_SYL = re.compile(r"^([a-zü:^]+?)([0-5])?$")


class PinyinError(ValueError):
    pass


def _normalise_letters(s):
    """ASCII stand-ins for ü and ê: u: / v -> ü, e^ -> ê."""
    s = s.lower().replace("u:", "ü").replace("v", "ü").replace("e^", "ê")
    return s


def mark_syllable(syl):
    """'zhong1' -> 'zhōng', 'lu:4' / 'lv4' -> 'lǜ', 'r5' -> 'r', 'ma' -> 'ma'.

    Tone 5 (and 0, or no digit) is the neutral tone: no mark.  Raises
    PinyinError for anything that is not a single syllable.
    """
    m = _NUM_SYL.match(syl.strip().lower())
    if not m:
        raise PinyinError("not a pinyin syllable: %r" % syl)
    body = _normalise_letters(m.group(1))
    if not re.fullmatch(r"[a-zêü]+", body):
        raise PinyinError("not a pinyin syllable: %r" % syl)
    tone = int(m.group(2)) if m.group(2) else 5
    if tone in (0, 5):
        return body
    pos = _mark_position(body)
    out = body[:pos + 1] + _TONE_MARK[tone] + body[pos + 1:]
    return unicodedata.normalize("NFC", out)


def _mark_position(body):
    # a and e always take the mark; in "ou" the o does; otherwise the last vowel
    for v in "aeê":
        i = body.find(v)
        if i >= 0:
            return i
    i = body.find("ou")
    if i >= 0:
        return i
    for i in range(len(body) - 1, -1, -1):
        if body[i] in _VOWELS:
            return i
    # syllabic consonants: m, n, ng (呣 ḿ, 嗯 ń / ňg)
    for i, ch in enumerate(body):
        if ch in "mn":
            return i
    raise PinyinError("no vowel to mark in %r" % body)


def numbered_to_marked(text):
    """Convert a space-separated numbered pinyin string, syllable by syllable.

    Tokens that are not syllables (punctuation such as "·" or ",", Latin
    letters standing for themselves) are kept as they are; "xx5" (CEDICT's
    placeholder for an unknown reading) becomes "".
    """
    out = []
    for tok in text.split():
        if tok.lower().startswith("xx"):
            continue
        try:
            out.append(mark_syllable(tok))
        except PinyinError:
            out.append(tok)
    return " ".join(out)


def split_marked(syl):
    """'lǜ' -> ('lü', 4); 'ma' -> ('ma', 5)."""
    tone = 5
    base = []
    for ch in unicodedata.normalize("NFD", syl):
        if ch in _MARK_TONE:
            tone = _MARK_TONE[ch]
        else:
            base.append(ch)
    return unicodedata.normalize("NFC", "".join(base)), tone


def toneless_ascii(syl):
    """'lǜ' -> 'lv', 'zhōng' -> 'zhong', 'ê̄' -> 'e'; lower case ASCII only."""
    base, _ = split_marked(syl.lower())
    base = base.replace("ü", "v").replace("ê", "e")
    return "".join(ch for ch in unicodedata.normalize("NFD", base) if "a" <= ch <= "z")


def initials(pinyin):
    """Lower-case first letter of every syllable: 'Zhōng guó' -> 'zg'.

    Tokens without a Latin letter (punctuation, digits) add nothing;
    Latin letters in a word ("A quān r") count like syllables.
    """
    out = []
    for tok in re.split(r"[\s，,、·\-'’]+", pinyin):
        a = toneless_ascii(tok)
        if a:
            out.append(a[0])
    return "".join(out)


# 一 and 不 change tone before other syllables in speech; dictionaries list
# them with their own tones.
_CITATION = {"一": ("yī", {"yí", "yì"}), "不": ("bù", {"bú"})}


def citation_tones(word, syllables):
    """Undo the spoken tone changes of 一/不 in a per-character syllable list."""
    chars = list(word)
    if len(chars) != len(syllables):
        return list(syllables)
    out = []
    for ch, syl in zip(chars, syllables):
        c = _CITATION.get(ch)
        if c and syl in c[1]:
            syl = c[0]
        out.append(syl)
    return out
