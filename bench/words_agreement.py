#!/usr/bin/env python3
"""Agreement of the words database with espeak-ng on common words, per accent and feature.

espeak-ng is one independent reference, not an authority: where the two differ, either side may
be wrong, and the samples in the report are there so a reader can tell which.

    python3 bench/words_agreement.py --db build/words-report/zrv_words.db --output docs/words-report.md
"""
import argparse
import collections
import re
import sqlite3
import subprocess
import sys

GPL = "/usr/share/common-licenses/GPL-3"
KJV_RANGE = "Genesis 1:1-Revelation 22:21"

# (espeak voice, database table, accent name, rhotic). Only accents espeak-ng has a voice for.
VOICES = [
    ("en-gb-x-rp", "uk_rp", "UK RP", False),
    ("en-us", "us_midland", "US Midland", True),
    ("en-us-nyc", "us_nyc", "US NYC", False),
    ("en-gb-scotland", "uk_scottish", "UK Scottish", True),
    ("en-gb-x-gbclan", "uk_midland_northern", "UK Midland Northern", False),
    ("en-gb-x-gbcwmd", "uk_midland_southern", "UK Midland Southern", False),
]

VOWELS = {"KIT", "DRESS", "TRAP", "LOT", "THOUGHT", "PALM", "SCHWA", "FOOT", "NURSE", "FLEECE",
          "FACE", "GOAT", "GOOSE", "PRICE", "CHOICE", "MOUTH", "NEAR", "SQUARE", "CURE"}

# The common alphabet: a Zorvian letter or an IPA segment becomes one or more of these classes
# (the vowel classes above, consonants as plain IPA letters). Longest match first.
ZORVIAN = {
    "i": ["KIT"], "e": ["DRESS"], "a": ["TRAP"], "o": ["LOT"], "ā": ["PALM"], "á": ["PALM"],
    "u": ["SCHWA"], "ú": ["FOOT"], "å": ["THOUGHT"], "ů": ["NURSE"], "ī": ["FLEECE"],
    "ē": ["FACE"], "é": ["FACE"], "ei": ["FACE"], "ō": ["GOAT"], "ó": ["GOAT"], "ū": ["GOOSE"],
    "ai": ["PRICE"], "āi": ["PRICE"], "oi": ["CHOICE"], "au": ["MOUTH"], "ao": ["MOUTH"],
    "iu": ["NEAR"], "է": ["SQUARE"], "úu": ["CURE"],
    "ч": ["tʃ"], "j": ["dʒ"], "y": ["j"], "þ": ["θ"], "ћ": ["ʃ"], "zh": ["ʒ"], "ʔ": ["t"],
}
# Letters whose meaning depends on the accent's own inventory (docs/orthography.md).
ZORVIAN_BY_ACCENT = {
    "us_nyc": {"é": ["TRAP"]},  # the tensed short a of "bad"
    "uk_midland_southern": {"åi": ["PRICE"], "ui": ["FACE"], "ou": ["GOAT"]},
}
IPA = {
    "ɪ": ["KIT"], "ᵻ": ["KIT"], "ɛ": ["DRESS"], "e": ["DRESS"], "æ": ["TRAP"], "a": ["TRAP"],
    "ɒ": ["LOT"], "ɔː": ["THOUGHT"], "ɔ": ["THOUGHT"], "o": ["THOUGHT"],
    "ɑː": ["PALM"], "ɑ": ["PALM"], "aː": ["PALM"], "a:": ["PALM"],
    "ʌ": ["SCHWA"], "ə": ["SCHWA"], "ɐ": ["SCHWA"], "ɜ": ["SCHWA"], "ɚ": ["SCHWA", "r"],
    "ʊ": ["FOOT"], "ɜː": ["NURSE"], "iː": ["FLEECE"], "i": ["FLEECE"],
    "eɪ": ["FACE"], "eː": ["FACE"], "e:": ["FACE"], "əʊ": ["GOAT"], "oʊ": ["GOAT"],
    "oː": ["GOAT"], "o:": ["GOAT"], "ʌʊ": ["GOAT"], "uː": ["GOOSE"], "ʉː": ["GOOSE"],
    "ʉ": ["GOOSE"], "u": ["GOOSE"], "əu": ["GOOSE"], "aɪ": ["PRICE"], "ʌɪ": ["PRICE"],
    "əɪ": ["PRICE"], "ɑɪ": ["PRICE"], "ɔɪ": ["CHOICE"], "aʊ": ["MOUTH"], "æʊ": ["MOUTH"],
    "ʌʉ": ["MOUTH"], "iə": ["NEAR"], "ɪə": ["NEAR"], "eə": ["SQUARE"], "ɛə": ["SQUARE"],
    "ɛː": ["SQUARE"], "ʊə": ["CURE"], "ɹ": ["r"], "ɡ": ["g"], "ʍ": ["h", "w"], "ʔ": ["t"],
    "tʃ": ["tʃ"], "dʒ": ["dʒ"], "x": ["k"], "n̩": ["SCHWA", "n"], "l̩": ["SCHWA", "l"], "m̩": ["SCHWA", "m"],
}
# espeak's own conventions per voice: General American writes the r-coloured NURSE as ɜː and
# FORCE as oːɹ (apart from NORTH, which General American merges with it); its
# New York voice says NURSE as [əɪ] ("boid") and writes the tensed short a as ɛə; its Scottish
# voice writes vowel length, which Scottish English does not contrast (trap, bath and palm share
# one vowel); its West Midlands voice says FLEECE as [ei], PRICE as [ɔɪ] and CHOICE as [oɪ].
IPA_BY_VOICE = {
    "en-us": {"ɜː": ["SCHWA", "r"], "oː": ["THOUGHT"]},
    "en-us-nyc": {"əɪ": ["NURSE"], "ɛə": ["TRAP"]},
    "en-gb-scotland": {"a:": ["TRAP"], "aː": ["TRAP"]},
    "en-gb-x-gbcwmd": {"ei": ["FLEECE"], "ɔɪ": ["PRICE"], "oɪ": ["CHOICE"]},
}


def segment(text, table):
    """Splits a word into (unit, classes) pairs, longest unit first; unknown letters stay as they are."""
    longest = max(len(k) for k in table)
    out, i = [], 0
    while i < len(text):
        for size in range(min(longest, len(text) - i), 0, -1):
            piece = text[i:i + size]
            if piece in table:
                out.append((piece, table[piece]))
                i += size
                break
        else:
            out.append((text[i], [text[i]]))
            i += 1
    return out


def classes(units):
    flat = [c for _, cs in units for c in cs]
    return [c for k, c in enumerate(flat) if not (c == "r" and k > 0 and flat[k - 1] == "r")]


class Reading:
    """One side's view of a word: its units, its classes, and the class of its stressed vowel."""

    def __init__(self, text, table, stressed=None):
        self.text = text
        self.units = segment(text, table)
        self.seq = classes(self.units)
        self.raw = {u for u, _ in self.units}
        self.stressed = stressed

    def has(self, cls):
        return cls in self.seq

    def has_unit(self, units, cls):
        return any(u in units and cs == [cls] for u, cs in self.units)

    def postvocalic_r(self):
        s = self.seq
        return any(c == "r" and k > 0 and s[k - 1] in VOWELS and (k + 1 == len(s) or s[k + 1] not in VOWELS)
                   for k, c in enumerate(s))

    def has_yod_spot(self, with_yod):
        s = self.seq
        for k in range(len(s) - 1):
            if s[k] in ("t", "d", "n"):
                nxt = s[k + 1:k + 3]
                # espeak's RP says the CURE of "endure" as ɔː.
                if nxt[:1] == ["j"] and nxt[1:] and nxt[1] in ("GOOSE", "CURE", "FOOT", "THOUGHT"):
                    return True
                if not with_yod and nxt[0] in ("GOOSE", "CURE", "FOOT"):
                    return True
        return False

    def intervocalic_td(self):
        s = self.seq
        return any(c in ("t", "d") and 0 < k < len(s) - 1 and (s[k - 1] in VOWELS or s[k - 1] == "r")
                   and s[k + 1] in VOWELS for k, c in enumerate(s))


def zorvian_reading(text, table_name):
    table = dict(ZORVIAN)
    table.update(ZORVIAN_BY_ACCENT.get(table_name, {}))
    return Reading(text, table)


def ipa_reading(ipa, voice):
    table = dict(IPA)
    table.update(IPA_BY_VOICE.get(voice, {}))
    # The stressed vowel: the first vowel after the primary stress mark.
    stressed = None
    if "ˈ" in ipa:
        after = segment(ipa.split("ˈ", 1)[1].replace("ˌ", ""), table)
        stressed = next((cs[0] for _, cs in after if cs[0] in VOWELS), None)
    return Reading(ipa.replace("ˈ", "").replace("ˌ", ""), table, stressed)


def common_words():
    """Lower-case word tokens of the GPL-3 and the King James text, most frequent first."""
    with open(GPL, encoding="utf-8") as f:
        text = f.read()
    kjv = subprocess.run(["bible", "-f", KJV_RANGE], capture_output=True, text=True, check=True).stdout
    # Each verse line starts with its label ("Ge1:1"), which is not text.
    text += "\n" + "\n".join(line.split(" ", 1)[1] for line in kjv.splitlines() if " " in line)
    counts = collections.Counter(t for t in re.findall(r"[A-Za-z]+", text) if t.islower())
    return sorted(counts.items(), key=lambda wc: (-wc[1], wc[0]))


def first_candidates(db, table_name):
    rows = db.execute(
        f"SELECT english_word, zorvian_word FROM zrv_words_{table_name} WHERE is_name = 0 "
        "ORDER BY english_word, word_version DESC, word_weight DESC, zorvian_word")
    first = {}
    for english, zorvian in rows:
        first.setdefault(english, zorvian)
    return first


def espeak_ipa(words, voice):
    """IPA of each word, one per line; a full stop after each word keeps the lines apart."""
    def run(batch):
        feed = "".join(w + ".\n" for w in batch)
        out = subprocess.run(["espeak-ng", "-q", "--ipa", "-v", voice], input=feed, capture_output=True,
                             text=True, check=True).stdout
        return [re.sub(r"\([a-z-]+\)|\s", "", line) for line in out.splitlines() if line.strip()]
    ipa = {}
    for start in range(0, len(words), 400):
        batch = words[start:start + 400]
        lines = run(batch)
        if len(lines) != len(batch):  # out of step somewhere: one call per word is slow but certain
            lines = [" ".join(run([w])) for w in batch]
        ipa.update(zip(batch, lines))
    return ipa


def voice_present(voice):
    out = subprocess.run(["espeak-ng", "--voices=en"], capture_output=True, text=True).stdout
    return any(line.split()[1:2] == [voice] for line in out.splitlines()[1:])


# Each feature: (name, applies(word, db, ipa, ref, rhotic), value(reading)). `ref` holds espeak's en-us and
# RP readings and the database's RP reading, which decide where a feature applies in every accent.
def rp_has(ref, cls):
    return ref["rp_ipa"].has(cls) or ref["rp_db"].has(cls)


FEATURES = [
    ("rhoticity (r after a vowel, not before one)",
     lambda w, d, i, ref, rhotic: ref["us_ipa"].postvocalic_r(),
     lambda r: r.postvocalic_r()),
    ("BATH: long PALM vowel where US has TRAP",
     lambda w, d, i, ref, rhotic: ref["us_ipa"].stressed == "TRAP" and rp_has(ref, "PALM"),
     lambda r: r.has("PALM")),
    ("LOT rounded (ɒ, not ɑ)",
     lambda w, d, i, ref, rhotic: rp_has(ref, "LOT") and not rp_has(ref, "THOUGHT"),
     lambda r: r.has("LOT") or r.has("THOUGHT")),
    ("THOUGHT kept apart from LOT",
     lambda w, d, i, ref, rhotic: "r" not in w and (ref["us_ipa"].has("THOUGHT") or rp_has(ref, "THOUGHT")),
     lambda r: r.has("THOUGHT")),
    ("yod after t, d, n",
     lambda w, d, i, ref, rhotic: d.has_yod_spot(True) or i.has_yod_spot(True) or (
         re.search(r"[tdn](u|ew|eu|ue|ui)", w) and (d.has_yod_spot(False) or i.has_yod_spot(False))),
     lambda r: r.has_yod_spot(True)),
    ("flapping of t, d (ɾ)",
     lambda w, d, i, ref, rhotic: d.has("ɾ") or i.has("ɾ") or d.intervocalic_td(),
     lambda r: r.has("ɾ")),
    ("NURSE (ɜː) apart from lettER (ə)",
     lambda w, d, i, ref, rhotic: not rhotic and ("ɜː" in ref["us_ipa"].raw or "ɚ" in ref["us_ipa"].raw),
     lambda r: r.has("NURSE")),
    ("FOOT-STRUT: stressed STRUT said with ʊ",
     lambda w, d, i, ref, rhotic: ref["us_ipa"].stressed == "SCHWA" and "ʌ" in ref["us_ipa"].raw,
     lambda r: r.has("FOOT") if r.stressed is None else r.stressed == "FOOT"),
    ("FACE a monophthong (eː)",
     lambda w, d, i, ref, rhotic: "eɪ" in ref["us_ipa"].raw,
     lambda r: r.has_unit({"é", "eː", "e:"}, "FACE")),
    ("GOAT a monophthong (oː)",
     lambda w, d, i, ref, rhotic: "oʊ" in ref["us_ipa"].raw,
     lambda r: r.has_unit({"ó", "oː", "o:"}, "GOAT")),
    ("h present",
     lambda w, d, i, ref, rhotic: w.startswith("h") or ref["rp_db"].has("h") or i.has("h"),
     lambda r: r.has("h")),
]


def measure(voice, table_name, rhotic, first, chosen, refs):
    ipa = refs[voice] if voice in refs else espeak_ipa([w for w, _ in chosen], voice)
    us, rp, rp_db_forms = refs["en-us"], refs["en-gb-x-rp"], refs["rp_db"]
    tallies = [[0, 0, []] for _ in FEATURES]
    exact, disagreements = 0, []
    for word, count in chosen:
        d = zorvian_reading(first[word], table_name)
        i = ipa_reading(ipa[word], voice)
        ref = {"us_ipa": ipa_reading(us[word], "en-us"), "rp_ipa": ipa_reading(rp[word], "en-gb-x-rp"),
               "rp_db": zorvian_reading(rp_db_forms.get(word, ""), "uk_rp")}
        for k, (_, applies, value) in enumerate(FEATURES):
            if applies(word, d, i, ref, rhotic):
                tallies[k][0] += 1
                if value(d) == value(i):
                    tallies[k][1] += 1
                else:
                    tallies[k][2].append(f"{word} {first[word]} /{ipa[word]}/")
        if d.seq == i.seq:
            exact += 1
        else:
            disagreements.append((count, word, first[word], ipa[word]))
    return len(chosen), tallies, exact, disagreements[:15]


def report(results, missing):
    out = ["# Words database against espeak-ng: agreement on common words", "",
           "Written by `make words-report` (`bench/words_agreement.py`). **espeak-ng is one independent "
           "reference, not an authority.** Its English voices are rule-and-exception synthesisers "
           "tuned for intelligible speech: the regional voices (Scotland, Lancaster, West Midlands, "
           "New York) are a few vowel substitutions over its British or American base, its "
           "Scottish voice marks vowel length and writes word-final lettER without r, its New York "
           "voice says NURSE as [əɪ] (\"boid\"), its RP voice writes happY as ɪ, and its function "
           "words follow its own lexicon. A disagreement says where to look, not who is wrong.", "",
           "Known limits of espeak-ng that show in the figures below:", "",
           "- Each word is read alone, so function words get their strong forms or letter names "
           "(\"a\" as eɪ, \"and\" as ænd) where the database gives the weak form running text uses.",
           "- Archaic words (saith, hast, doth, shew, putteth) are read by its spelling rules.",
           "- It writes /d/ where General American flaps it (body, ready) and flaps only t, so the "
           "flapping figure of the American accents counts every flapped d as a disagreement.",
           "- RP voice: happY as ɪ (city, any), \"one\" and \"none\" with LOT.",
           "- Scottish voice: vowel length written (bath, father with a:); word-final lettER and some "
           "NURSE words without r (after, over, were, her) although Scottish English is rhotic; cot "
           "kept apart from caught although Scottish English merges them.",
           "- New York voice: NURSE as [əɪ] (an old New York form), LOT written as rounded ɒ.",
           "- Lancaster voice: -ing as ɪn. West Midlands voice: FACE as a monophthong eː, FLEECE ei, "
           "PRICE ɔɪ.", "",
           "**Words.** The 2,000 most frequent lower-case word tokens of the GPL-3 "
           f"(`{GPL}`) and the King James text (`bible -f \"{KJV_RANGE}\"`, verse labels "
           "left out) that have a common (not name) row in the accent's table; the database side "
           "is the first candidate (highest `word_weight`, `is_name` = 0). espeak-ng reads each "
           "word alone (`espeak-ng -q --ipa -v VOICE`, one word and a full stop per line).", ""]
    if missing:
        out += ["Voices missing on this machine, so left out: " + ", ".join(missing) + ".", ""]
    out += ["## Where each feature applies", "",
            "Both spellings are read into the common alphabet below, then each feature is a yes/no "
            "question asked of both sides in the words where it applies. Where it applies is decided "
            "once for every accent, from espeak's General American (en-us) and RP (en-gb-x-rp) "
            "readings and the database's UK RP form, so neither side picks its own test words:", "",
            "| Feature | Applies to the words where | Yes on either side when |", "|---|---|---|",
            "| rhoticity | en-us has an r after a vowel and not before one (ɹ, ɚ, ɜː) | the word has such an r |",
            "| BATH | en-us stresses TRAP (æ) and RP (espeak or database) has PALM | the word has PALM (ɑː, aː; ā) |",
            "| LOT rounded | RP (espeak or database) has LOT (ɒ; o) and no THOUGHT | the word has LOT or THOUGHT (rounded) |",
            "| THOUGHT apart | the spelling has no r and en-us or RP has THOUGHT (ɔː; å) | the word has THOUGHT |",
            "| yod | either side has t, d, n + j + GOOSE, CURE or FOOT (or espeak RP's ɔː for CURE), or the spelling has t/d/n + u, ew, eu, ue, ui and either side has t/d/n + one of those vowels | j after the t, d, n |",
            "| flapping | either side has ɾ, or the database has t or d between a vowel (or r) and a vowel | the word has ɾ |",
            "| NURSE vs lettER | non-rhotic accents only; en-us has ɜː or ɚ | the word has NURSE (ɜː; ů) |",
            "| FOOT-STRUT | en-us stresses ʌ | the stressed vowel is FOOT (ʊ; ú) |",
            "| FACE monophthong | en-us has eɪ | the word has eː (é) |",
            "| GOAT monophthong | en-us has oʊ | the word has oː (ó) |",
            "| h present | the spelling starts with h, or the RP database form or espeak has h | the word has h (ʍ counts as h + w) |",
            "", "## The common alphabet (whole-word comparison)", "",
            "| Class | Zorvian | espeak IPA |", "|---|---|---|",
            "| KIT | i | ɪ ᵻ |", "| DRESS | e | ɛ e |", "| TRAP | a (é in NYC) | æ a (ɛə in NYC) |",
            "| LOT | o | ɒ |", "| THOUGHT | å | ɔː ɔ o (en-us oː, its FORCE) |", "| PALM | ā á | ɑː ɑ aː a: (Scottish aː a: count as TRAP) |",
            "| SCHWA (STRUT, commA, lettER) | u | ʌ ə ɐ ɜ; ɚ = SCHWA + r; en-us ɜː = SCHWA + r |",
            "| FOOT | ú | ʊ |", "| NURSE | ů | ɜː (əɪ in NYC) |", "| FLEECE, happY | ī | iː i (West Midlands ei) |",
            "| FACE | ē é ei (ui in Midland Southern) | eɪ eː e: |",
            "| GOAT | ō ó (ou in Midland Southern) | əʊ oʊ oː o: ʌʊ |", "| GOOSE | ū | uː ʉː ʉ u əu |",
            "| PRICE | ai āi (åi in Midland Southern) | aɪ ʌɪ əɪ ɑɪ (West Midlands ɔɪ) |",
            "| CHOICE | oi | ɔɪ (West Midlands oɪ) |",
            "| MOUTH | au ao | aʊ æʊ ʌʉ |", "| NEAR | iu | iə ɪə |", "| SQUARE | է | eə ɛə ɛː |",
            "| CURE | úu | ʊə |",
            "| consonants | as IPA: ч = tʃ, j = dʒ, y = j, þ = θ, ћ = ʃ, zh = ʒ; ʔ = t | ɹ = r, ɡ = g, ʍ = h w, x = k, ʔ = t; syllabic n̩ l̩ m̩ = SCHWA + n, l, m |",
            "", "A doubled r (ɜːɹ) counts once. Stress marks are ignored except to find the stressed vowel.", ""]
    out += ["## Summary", "", "| Accent | espeak voice | Words | Whole words alike | % |", "|---|---|---|---|---|"]
    for voice, _, name, _, n, _, exact, _ in results:
        out.append(f"| {name} | {voice} | {n} | {exact} | {100.0 * exact / n:.1f} |")
    for voice, _, name, _, n, tallies, exact, dis in results:
        out += ["", f"## {name} ({voice})", "",
                "| Feature | Words | Agreeing | % | Most frequent that differ (word, Zorvian, /espeak/) |",
                "|---|---|---|---|---|"]
        for (feature, _, _), (applies, agree, differ) in zip(FEATURES, tallies):
            pct = f"{100.0 * agree / applies:.1f}" if applies else "–"
            out.append(f"| {feature} | {applies} | {agree} | {pct} | {'; '.join(differ[:6])} |")
        out += ["", f"Whole words alike in the common alphabet: {exact} of {n} ({100.0 * exact / n:.1f}%). "
                "The 15 most frequent words that differ:", "",
                "| Word | Tokens | Zorvian | espeak IPA |", "|---|---|---|---|"]
        out += [f"| {w} | {c} | {z} | {i} |" for c, w, z, i in dis]
    return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--db", required=True)
    parser.add_argument("--output", required=True)
    args = parser.parse_args()
    db = sqlite3.connect(f"file:{args.db}?mode=ro", uri=True)
    words = common_words()
    voices = [v for v in VOICES if voice_present(v[0])]
    missing = [v[0] for v in VOICES if v not in voices]
    firsts = {t: first_candidates(db, t) for _, t, _, _ in VOICES}
    chosen = {t: [(w, n) for w, n in words if w in firsts[t]][:2000] for t in firsts}
    # The reference readings that decide where each feature applies, for every word any accent uses.
    pool = sorted({w for c in chosen.values() for w, _ in c})
    refs = {"rp_db": firsts["uk_rp"], "en-us": espeak_ipa(pool, "en-us"),
            "en-gb-x-rp": espeak_ipa(pool, "en-gb-x-rp")}
    results = []
    for voice, table_name, name, rhotic in voices:
        n, tallies, exact, dis = measure(voice, table_name, rhotic, firsts[table_name], chosen[table_name],
                                         refs)
        results.append((voice, table_name, name, rhotic, n, tallies, exact, dis))
        print(f"{name}: {exact}/{n} whole words alike", file=sys.stderr)
    with open(args.output, "w", encoding="utf-8") as f:
        f.write(report(results, missing))


if __name__ == "__main__":
    main()
