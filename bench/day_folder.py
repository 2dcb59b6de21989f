#!/usr/bin/env python3
"""Writes a data folder of a hundred years of day files for the every-year search benchmark:
one folder per year (1950-2049) with a Shift-JIS day file KVRYYYYMMDD.dat for most days (about
31,000 files of 4 KB on average: some empty, a few long), CR LF line ends, as the program
writes them.

usage: day_folder.py OUT_DIR [FIRST_YEAR] [YEARS]   (default 1950 100)
"""
import datetime
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
out_dir = sys.argv[1]
first = int(sys.argv[2]) if len(sys.argv) > 2 else 1950
years = int(sys.argv[3]) if len(sys.argv) > 3 else 100
random.seed(19500101)

import grep_corpus  # noqa: E402  (the corpus's kinds of line)

pool = [line.encode("cp932") for line in grep_corpus.pool(20000)]
files = 0
size = 0
day = datetime.date(first, 1, 1)
end = datetime.date(first + years, 1, 1)
while day < end:
    folder = os.path.join(out_dir, "%04d" % day.year)
    os.makedirs(folder, exist_ok=True)
    r = random.random()
    if r < 0.145:  # a day without a file
        day += datetime.timedelta(days=1)
        continue
    r = random.random()
    count = 0 if r < 0.03 else random.randint(150, 400) if r > 0.995 else random.randint(40, 140)
    data = b"".join(random.choice(pool) + b"\r\n" for _ in range(count))
    with open(os.path.join(folder, "KVR%04d%02d%02d.dat" % (day.year, day.month, day.day)),
              "wb") as f:
        f.write(data)
    files += 1
    size += len(data)
    day += datetime.timedelta(days=1)
print("%s: %d day files, %.1f MB" % (out_dir, files, size / 1e6))
