"""歇后语: cnchar-xhy pairs into kest_xhy rows."""

from jsbundle import find_table, json_tables


class DataError(ValueError):
    pass


def parse_xhy(tables):
    """The bundle's table is {'a': [[first, second], …]}; exact duplicate
    pairs are dropped.  Returns (rows, stats)."""
    t = find_table(tables, lambda t: isinstance(t, dict) and t and all(isinstance(v, list) for v in t.values()),
                   "xhy")
    rows, seen, stats = [], set(), {"pairs": 0, "skipped": 0, "duplicates": 0}
    for lst in t.values():
        for p in lst:
            stats["pairs"] += 1
            if not (isinstance(p, list) and len(p) == 2 and all(isinstance(x, str) and x.strip() for x in p)):
                stats["skipped"] += 1
                continue
            a, b = p[0].strip(), p[1].strip()
            if (a, b) in seen:
                stats["duplicates"] += 1
                continue
            seen.add((a, b))
            rows.append({"first1": a, "end1": b})
    stats["rows"] = len(rows)
    return rows, stats


def load_xhy(pkg):
    return parse_xhy(json_tables(pkg.text("package/cnchar.xhy.min.js")))
