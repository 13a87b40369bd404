"""Pull the data tables out of the minified UMD bundles of the cnchar packages.

The bundles carry their tables as JSON.parse('...') calls; we read those
string literals without running any JavaScript.
"""

import json
import re

_CALL = re.compile(r"JSON\.parse\('")
_SIMPLE_ESC = {"n": "\n", "t": "\t", "r": "\r", "b": "\b", "f": "\f", "v": "\v", "0": "\0",
               "'": "'", '"': '"', "\\": "\\", "/": "/", "\n": ""}


class BundleError(ValueError):
    pass


def _read_literal(src, i):
    """Decode the single-quoted JS literal starting at src[i]; return (text, end)."""
    out = []
    n = len(src)
    while i < n:
        c = src[i]
        if c == "'":
            return "".join(out), i + 1
        if c == "\\":
            if i + 1 >= n:
                break
            e = src[i + 1]
            if e == "u":
                hexd = src[i + 2:i + 6]
                if not re.fullmatch(r"[0-9a-fA-F]{4}", hexd):
                    raise BundleError("bad \\u escape at offset %d" % i)
                out.append(chr(int(hexd, 16)))
                i += 6
                continue
            if e == "x":
                hexd = src[i + 2:i + 4]
                if not re.fullmatch(r"[0-9a-fA-F]{2}", hexd):
                    raise BundleError("bad \\x escape at offset %d" % i)
                out.append(chr(int(hexd, 16)))
                i += 4
                continue
            out.append(_SIMPLE_ESC.get(e, e))
            i += 2
            continue
        if c == "\n":
            raise BundleError("line break inside string literal at offset %d" % i)
        out.append(c)
        i += 1
    raise BundleError("unterminated string literal")


def json_tables(src):
    """All JSON.parse('...') payloads of a bundle, decoded, in source order."""
    tables = []
    for m in _CALL.finditer(src):
        text, _ = _read_literal(src, m.end())
        # JS turns \" into ", which would break JSON strings holding quotes;
        # the bundles write such quotes as \\" (JSON escape inside JS), which
        # _read_literal has already reduced to \".
        try:
            tables.append(json.loads(text))
        except ValueError as e:
            raise BundleError("JSON.parse payload #%d is not JSON: %s" % (len(tables), e))
    return tables


def find_table(tables, pred, what):
    hits = [t for t in tables if pred(t)]
    if len(hits) != 1:
        raise BundleError("expected one %s table in the bundle, found %d" % (what, len(hits)))
    return hits[0]
