#!/usr/bin/python3
"""Loads a CSV file with CHIRP's own generic CSV reader and checks every
memory against the expectations in a JSON file.

Usage: chirp_reader_check.py CSV EXPECT.json [--reported-rejects "7, 8"]
Exit status: 0 pass, 1 mismatch, 77 when CHIRP is not installed.
"""
import argparse
import builtins
import csv
import json
import logging
import re
import sys

SKIP = 77
TONE_TOLERANCE = 0.05


def load_chirp_reader():
    # CHIRP's 2022 reader opens files with mode "rU", which Python 3.11 refuses.
    real_open = builtins.open

    def open_without_u(file, mode="r", *args, **kwargs):
        return real_open(file, mode.replace("U", ""), *args, **kwargs)

    builtins.open = open_without_u
    # The reader logs every refused line; the check reports them itself.
    logging.disable(logging.ERROR)
    try:
        from chirp.drivers import generic_csv
    except ImportError as error:
        print("SKIP: CHIRP is not importable by %s (%s); install the Debian package chirp"
              % (sys.executable, error))
        sys.exit(SKIP)
    return generic_csv


def location_by_line(path):
    """CSV line number (as CHIRP counts records, header = 1) -> Location."""
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    header = rows[0]
    where = header.index("Location")
    return {number: int(row[where]) for number, row in enumerate(rows[1:], start=2)}


class Checker:
    def __init__(self):
        self.failures = []

    def equal(self, what, got, expected):
        if isinstance(expected, float):
            ok = got is not None and abs(float(got) - expected) < TONE_TOLERANCE
        else:
            ok = got == expected
        if not ok:
            self.failures.append("%s: CHIRP read %r, expected %r" % (what, got, expected))

    def fail(self, text):
        self.failures.append(text)


def check_memory(checker, radio, number, expected):
    mem = radio.get_memory(number)
    if mem.empty:
        checker.fail("memory %d: CHIRP has no such memory" % number)
        return
    for field, value in expected.items():
        if field == "number":
            continue
        checker.equal("memory %d %s" % (number, field), getattr(mem, field), value)


def sweep_memories(expect, rejected):
    """Expected fields of every accepted sweep channel, by location."""
    memories = {}
    ctcss = expect["ctcss_sweep"]
    for index, tone in enumerate(ctcss["tones"]):
        number = ctcss["first"] + index
        if number not in rejected:
            memories[number] = {"freq": ctcss["freq"], "duplex": "", "tmode": "TSQL", "rtone": tone,
                                "ctone": tone, "mode": ctcss["mode"], "skip": ""}
    dcs = expect["dcs_sweep"]
    for index, code in enumerate(dcs["codes"]):
        number = dcs["first"] + index
        inverted = dcs["inverted_on_odd_channels"] and number % 2 == 1
        memories[number] = {"freq": dcs["freq"], "duplex": "", "tmode": "DTCS", "dtcs": code,
                            "dtcs_polarity": "RR" if inverted else "NN", "mode": dcs["mode"], "skip": ""}
    return memories


def parse_reported(text):
    return {int(part) for part in re.findall(r"\d+", text or "")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("csv")
    parser.add_argument("expect")
    parser.add_argument("--reported-rejects", default=None,
                        help="the channels the export said CHIRP will not take")
    args = parser.parse_args()

    generic_csv = load_chirp_reader()
    with open(args.expect, encoding="utf-8") as f:
        expect = json.load(f)

    radio = generic_csv.CSVRadio(args.csv)
    locations = location_by_line(args.csv)
    checker = Checker()

    rejected = set()
    for error in radio.errors:
        match = re.match(r"Line (\d+): \[rtone\]", error)
        if not match:
            checker.fail("CHIRP refused a line for a reason other than its tone list: %s" % error)
            continue
        rejected.add(locations[int(match.group(1))])

    for number in expect["rejected"]:
        if number not in rejected:
            checker.fail("memory %d: CHIRP was expected to refuse its tone but took it" % number)
    if args.reported_rejects is not None and parse_reported(args.reported_rejects) != rejected:
        checker.fail("the export reported CHIRP rejects %s, CHIRP refused %s"
                     % (sorted(parse_reported(args.reported_rejects)), sorted(rejected)))

    expected = sweep_memories(expect, rejected)
    expected.update({mem["number"]: mem for mem in expect["memories"]})
    for number, fields in sorted(expected.items()):
        check_memory(checker, radio, number, fields)
    for number in expect["absent"]:
        if not radio.get_memory(number).empty:
            checker.fail("memory %d: expected no memory, CHIRP has one" % number)

    loaded = {mem.number for mem in radio.get_memories() if not mem.empty}
    unexpected = loaded - set(expected)
    if unexpected:
        checker.fail("memories CHIRP read that nothing expects: %s" % sorted(unexpected))
    if len(loaded) + len(rejected) != len(locations):
        checker.fail("%d data lines, but CHIRP loaded %d and refused %d"
                     % (len(locations), len(loaded), len(rejected)))

    for failure in checker.failures:
        print("FAIL:", failure)
    print("%d memories loaded by CHIRP, %d refused for their tone, %d failures"
          % (len(loaded), len(rejected), len(checker.failures)))
    return 1 if checker.failures else 0


if __name__ == "__main__":
    sys.exit(main())
