#!/usr/bin/env python3
"""A century of day files (31,000 small Shift-JIS files, one a day from 1940 on, made by the
same rules as bench/make_lzh_corpus.py) packed and extracted by Mirune's archiver and by the
independent tools on the same files: LZH with `mirune-cli lha` against jlha (`lha`) and lhasa
(which only extracts), ZIP with `mirune-cli lha` against zip/unzip. Every extraction is checked
file by file against the originals. Usage: bench/archive_century.py BUILD_DIR [WORK_DIR] [RUNS].
Times are the best of RUNS (default 3) wall-clock runs; ours include loading the library."""
import filecmp
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time
from datetime import date, timedelta

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
work = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="century-"))
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
cli = os.path.join(build, "bin", "mirune-cli")
N = 31000

rng = random.Random(19400101)
events = ["定例会議", "打ち合わせ", "歯医者", "昼食", "買い物", "図書館", "英会話", "銀行", "市役所"]
notes = ["資料を印刷しておくこと", "予定表を提出", "請求書の確認", "傘を持っていく", "忘れずに！"]
src = os.path.join(work, "days")
os.makedirs(src, exist_ok=True)
names = []
d = date(1940, 1, 1)
for _ in range(N):
    lines = [str(rng.randrange(0, 4))] if rng.random() < 0.3 else []
    for _ in range(rng.randrange(1, 6)):
        if rng.random() < 0.6:
            lines.append(f"{rng.randrange(8, 20):02d}:{rng.choice(['00', '30'])} {rng.choice(events)}")
        else:
            lines.append("メモ：" + rng.choice(notes))
    name = f"KVR{d.year}{d.month:02d}{d.day:02d}.dat"
    with open(os.path.join(src, name), "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp932"))
    names.append(name)
    d += timedelta(days=1)
total_bytes = sum(os.path.getsize(os.path.join(src, n)) for n in names)
listfile = os.path.join(work, "names.txt")
with open(listfile, "w") as f:
    f.write("\n".join(names) + "\n")


def timed(command, cwd, before=None):
    best = None
    for _ in range(runs):
        if before:
            before()
        start = time.perf_counter()
        subprocess.run(command, cwd=cwd, shell=True, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        t = time.perf_counter() - start
        best = t if best is None else min(best, t)
    return best


def fresh(path):
    def reset():
        if os.path.isdir(path):
            shutil.rmtree(path)
        elif os.path.exists(path):
            os.remove(path)
    return reset


def check(folder):
    # lhasa may lower-case names of archives marked as MS-DOS ones; compare without case.
    got = {n.lower(): n for n in os.listdir(folder)}
    bad = [n for n in names if n.lower() not in got or
           not filecmp.cmp(os.path.join(src, n), os.path.join(folder, got[n.lower()]), shallow=False)]
    return "ok" if not bad else f"{len(bad)} differ"


q = f"'{cli}'"
files = "$(cat '" + listfile + "')"
pack = [
    ("mirune-cli lha u (LZH -lh5-)", "ours.lzh", f"{q} lha u '{work}/ours.lzh' {files}"),
    ("jlha a (LZH -lh5-)", "jlha.lzh", f"lha a '{work}/jlha.lzh' {files}"),
    ("mirune-cli lha u (ZIP deflate)", "ours.zip", f"{q} lha u '{work}/ours.zip' {files}"),
    ("zip -q (deflate -6)", "zip.zip", f"zip -q '{work}/zip.zip' {files}"),
]
print(f"{N} day files, {total_bytes} bytes, best of {runs}\n")
print("| pack | archive bytes | time (s) |")
print("|---|---:|---:|")
for tool, out, command in pack:
    t = timed(command, src, fresh(os.path.join(work, out)))
    print(f"| {tool} | {os.path.getsize(os.path.join(work, out))} | {t:.2f} |")

unpack = [
    ("mirune-cli lha x ours.lzh", f"{q} lha x '{work}/ours.lzh'"),
    ("lhasa -xq ours.lzh", f"lhasa -xq '{work}/ours.lzh'"),
    ("lhasa -xq jlha.lzh", f"lhasa -xq '{work}/jlha.lzh'"),
    ("mirune-cli lha x jlha.lzh", f"{q} lha x '{work}/jlha.lzh'"),
    ("mirune-cli lha x ours.zip", f"{q} lha x '{work}/ours.zip'"),
    ("unzip -q ours.zip", f"unzip -q '{work}/ours.zip'"),
    ("unzip -q zip.zip", f"unzip -q '{work}/zip.zip'"),
    ("mirune-cli lha x zip.zip", f"{q} lha x '{work}/zip.zip'"),
]
print("\n| extract | time (s) | files |")
print("|---|---:|---|")
for tool, command in unpack:
    out = os.path.join(work, "out")
    def reset():
        fresh(out)()
        os.makedirs(out)
    t = timed(command, out, reset)
    print(f"| {tool} | {t:.2f} | {check(out)} |")
shutil.rmtree(os.path.join(work, "out"), ignore_errors=True)
