#!/usr/bin/env python3
"""Writes data/ZELVANBLZ4.txt: a made-up bank-code file in the Bundesbank fixed-width layout.

Every bank here is invented. The file holds one bank for every implemented IBAN rule code,
the banks that the rules look up or substitute, deleted banks with and without a successor,
branch lines, 8-character BICs and short names with umlauts. Its first line marks it as a
sample: BLZ 00000000 (the Bundesbank's BLZs begin with a clearing area 1 to 8) and record
number 000000 (the Bundesbank counts from 000001); the program says so whenever it uses the
file. Every line passes the program's check of the Bundesbank layout. Banks that particular rules
need are listed in data/sample-banks/*.csv, one file per group of rules (columns: BLZ; short
name; BIC; check-digit method; rule code; change code; successor BLZ or empty). Run it again
after changing the lists; the output is the same on every run.
"""
import random
from pathlib import Path

OUT = Path(__file__).with_name("ZELVANBLZ4.txt")
LISTS = Path(__file__).with_name("sample-banks")

# Layout: (name, width) in file order; 174 bytes a line.
LAYOUT = [("blz", 8), ("feature", 1), ("name", 58), ("postcode", 5), ("town", 35),
          ("short", 27), ("pan", 5), ("bic", 11), ("method", 2), ("record", 6),
          ("change", 1), ("deletion", 1), ("successor", 8), ("rule", 6)]

TOWNS = [("10115", "Berlin"), ("20095", "Hamburg"), ("80331", "München"), ("50667", "Köln"),
         ("60311", "Frankfurt am Main"), ("70173", "Stuttgart"), ("40213", "Düsseldorf"),
         ("04109", "Leipzig"), ("28195", "Bremen"), ("30159", "Hannover"), ("90402", "Nürnberg"),
         ("01067", "Dresden"), ("44135", "Dortmund"), ("45127", "Essen"), ("24103", "Kiel"),
         ("18055", "Rostock"), ("99084", "Erfurt"), ("39104", "Magdeburg"), ("66111", "Saarbrücken"),
         ("55116", "Mainz"), ("65183", "Wiesbaden"), ("21335", "Lüneburg"), ("02826", "Görlitz"),
         ("37073", "Göttingen"), ("97070", "Würzburg"), ("89073", "Ulm"), ("79098", "Freiburg im Breisgau")]

KINDS = ["Sparkasse", "Volksbank", "Raiffeisenbank", "Kreissparkasse", "Stadtsparkasse",
         "Genossenschaftsbank", "Privatbank", "Bürgerbank", "Handelsbank", "Spar- und Darlehnskasse"]

# Banks that tests and rules rely on: (BLZ, short name, BIC, check-digit method, rule code,
# change code, successor BLZ). A successor of None means "00000000".
FIXED = [
    ("50060400", "Beispiel-Zentralbank", "BZBKDEFFXXX", "09", "000000", "U", None),
    ("10010010", "Musterbank Berlin", "MUSBDEBBXXX", "24", "000000", "U", None),
    ("10020030", "Übungsbank Berlin", "UEBBDEB1", "00", "000000", "A", None),  # 8-character BIC
    ("20030040", "Lernbank Hamburg", "LERBDEHH", "06", "000000", "U", None),
    ("30040050", "Prüfbank Düsseldorf", "PRUEDEDDXXX", "01", "000100", "U", None),
    # A deleted bank whose successor is in the file, and one whose successor is not.
    ("40050060", "Altbank Münster", "ALTBDEMMXXX", "00", "000000", "D", "40050070"),
    ("40050070", "Neubank Münster", "NEUBDEMMXXX", "00", "000000", "U", None),
    ("40050080", "Restbank Münster", "RESTDEMMXXX", "00", "000000", "D", "49999999"),
    # Deleted without successor: no IBAN any more.
    ("40050090", "Schlußbank Münster", "SCHLDEMMXXX", "00", "000000", "D", None),
    # A bank without BIC.
    ("60050070", "Kleinbank Stuttgart", "", "00", "000000", "U", None),
]

# Banks only marked for deletion (deletion flag "1", change code not "D"), both with a successor
# in the file: (BLZ, short name, BIC, check-digit method, rule code, change code, successor BLZ).
# Only the one under rule 000000 converts at its successor.
MARKED_FOR_DELETION = [
    ("40050110", "Vormerkbank Münster", "VORMDEMMXXX", "00", "000100", "U", "40050070"),
    ("40050120", "Auslaufbank Münster", "AUSLDEMMXXX", "00", "000000", "M", "40050070"),
]

# Every implemented rule code; each gets a bank of its own under an invented BLZ.
RULE_CODES = """
000200 000300 000400 000501 000502 000503 000600 000700 000800 000900 001000 001001 001100
001201 001301 001400 001500 001501 001600 001700 001800 001900 002001 002002 002101 002200
002300 002400 002500 002600 002700 002800 002900 003000 003101 003200 003301 003400 003501
003600 003700 003800 003900 004001 004100 004200 004300 004301 004400 004500 004501 004600
004700 004800 004900 005000 005100 005200 005300 005400 005401 005500 005600 005700
""".split()

# Codes that no rule implements (another version of a rule number), for "no outcome".
UNIMPLEMENTED_CODES = ["000500", "001200", "003601", "004000", "005800"]


LETTERS = "ABCDEFGHKLMNPRSTUVWZ"

# A BLZ the Bundesbank never hands out; the program recognises the sample file by it.
SAMPLE_MARKER_BLZ = "00000000"


def ascii_upper(text):
    """Capitals without umlauts, as a BIC needs them."""
    for umlaut, plain in (("ä", "a"), ("ö", "o"), ("ü", "u"), ("ß", "s")):
        text = text.replace(umlaut, plain)
    return text.upper()


def line(**fields):
    out = b""
    for name, width in LAYOUT:
        value = fields.get(name, "").encode("cp1252")[:width]
        out += value.ljust(width, b" ")
    assert len(out) == 174
    return out + b"\r\n"


def listed_banks():
    """The banks of data/sample-banks/*.csv, in file order."""
    for path in sorted(LISTS.glob("*.csv")):
        for number, text in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            if not text.strip() or text.startswith("#"):
                continue
            fields = text.split(";")
            if len(fields) != 7 or len(fields[0]) != 8 or len(fields[4]) != 6:
                raise SystemExit("%s:%d: expected BLZ;name;BIC;method;rule;change;successor" % (path, number))
            yield tuple(fields[:6]) + (fields[6] or None,)


def main():
    rng = random.Random(20261206)
    banks = {}
    for blz, short, bic, method, rule, change, successor in FIXED + MARKED_FOR_DELETION + list(listed_banks()):
        if blz in banks:
            raise SystemExit("BLZ %s is listed twice" % blz)
        banks[blz] = dict(short=short, bic=bic, method=method, rule=rule, change=change,
                          successor=successor or "00000000", deletion="1" if change == "D" else "0")
    for bank in MARKED_FOR_DELETION:
        banks[bank[0]]["deletion"] = "1"
    for index, code in enumerate(RULE_CODES + UNIMPLEMENTED_CODES):
        blz = "7%02d9%04d" % (index // 10, 1000 + index)
        kind = KINDS[index % len(KINDS)]
        banks[blz] = dict(short="%s Regel %s" % (kind, code), bic="RG%04dDE%s" % (index, "XXX" if index % 2 else ""),
                          method=["09", "00", "06", "63"][index % 4], rule=code, change="U", successor="00000000")
    # Ordinary banks to give the file a realistic size.
    ordinary = 0
    while ordinary < 245:
        blz = "%d%07d" % (rng.randint(1, 8), rng.randint(0, 9999999))
        if blz in banks or blz.startswith("7"):
            continue
        postcode, town = rng.choice(TOWNS)
        kind = rng.choice(KINDS)
        short = ("%s %s" % (kind, town))[:27]
        # A BIC: four letters for the bank, "DE", two for the place, and "XXX", nothing or a branch.
        bank = ascii_upper(kind)[:2] + "".join(rng.choice(LETTERS) for _ in range(2))
        place = LETTERS[int(blz) % len(LETTERS)] + LETTERS[int(blz) // len(LETTERS) % len(LETTERS)]
        branch = rng.choice(["XXX", "", "1" + ascii_upper(town)[:2]])
        bic = bank + "DE" + place + branch
        ordinary += 1
        banks[blz] = dict(short=short, bic=bic[:11], method="%02d" % rng.randint(0, 99),
                          rule=rng.choice(["000000"] * 8 + ["000100"]), change=rng.choice("AUUUM"),
                          successor="00000000", town=town, postcode=postcode)

    # The sample marker: a branch line, so it never enters the bank directory.
    out = line(blz=SAMPLE_MARKER_BLZ, feature="2", name="Beispiel-BLZ-Datei: Banknamen und BICs sind erfunden.",
               short="Beispiel-BLZ-Datei", method="00", record="000000", change="U", deletion="0",
               successor="00000000", rule="000000")
    record = 1
    for blz in sorted(banks):
        bank = banks[blz]
        postcode = bank.get("postcode", "10115")
        town = bank.get("town", "Berlin")
        common = dict(blz=blz, name=bank["short"] + " " + town, postcode=postcode, town=town,
                      short=bank["short"], method=bank["method"], change=bank["change"],
                      deletion=bank.get("deletion", "0"), successor=bank["successor"],
                      rule=bank["rule"])
        out += line(feature="1", bic=bank["bic"], record="%06d" % record, **common)
        record += 1
        # Every third bank has branch lines, which never enter the directory.
        for branch in range(int(blz) % 3 == 0 and 2 or 0):
            postcode, town = TOWNS[(int(blz) + branch) % len(TOWNS)]
            common.update(postcode=postcode, town=town, name=bank["short"] + " Filiale " + town)
            out += line(feature="2", bic="", record="%06d" % record, **common)
            record += 1
    OUT.write_bytes(out)
    print("%s: %d lines, %d banks" % (OUT.name, out.count(b"\r\n"), len(banks)))


if __name__ == "__main__":
    main()
