#!/usr/bin/env python3
"""Merges several runs of bench_commands into one table in the same line format, keeping for
every row (size, format, kind, path) its fastest time. On a machine whose speed drifts during a
run, the fastest of a few runs is the steadier figure; run the two builds being compared in
turn (before, after, before, after, ...) so both see the same drift.

    best_of.py RUN.txt [RUN.txt ...] > BEST.txt
"""
import re
import sys

LINE = re.compile(r"^\s*([0-9.]+) ms\s+(\d+)\s+(\S+)\s+(\S+)\s+(.*)$")


def main(paths):
    best = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            for line in f:
                m = LINE.match(line.rstrip("\n"))
                if not m:
                    continue
                ms, size, fmt, kind, what = m.groups()
                key = (int(size), fmt, kind, what)
                best[key] = min(float(ms), best.get(key, float("inf")))
    print("%10s     %4s  %-6s  %-7s  %s" % ("time", "size", "format", "kind", "path"))
    for (size, fmt, kind, what), ms in sorted(best.items(), key=lambda kv: -kv[1]):
        print("%10.2f ms  %4d  %-6s  %-7s  %s" % (ms, size, fmt, kind, what))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(sys.argv[1:])
