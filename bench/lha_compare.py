#!/usr/bin/env python3
"""Archive size and wall time of `mirune-cli lha u` against jlha (-lh5-, header level 2, the
independent LZH tool from Debian) and gzip -6, for one year of day files and for one 1 MB
text. Usage: bench/lha_compare.py BUILD_DIR [WORK_DIR]. Times are the best of five runs, each
making a fresh archive; our times include loading the archiver library."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
work = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="lzh-bench-")
cli = os.path.join(build, "bin", "mirune-cli")
here = os.path.dirname(os.path.abspath(__file__))
subprocess.run([sys.executable, os.path.join(here, "make_lzh_corpus.py"), work], check=True)

def best(command, cwd, out, runs=5):
    times = []
    for _ in range(runs):
        if os.path.exists(out):
            os.remove(out)
        start = time.perf_counter()
        subprocess.run(command, cwd=cwd, shell=True, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return min(times), os.path.getsize(out)

year = os.path.join(work, "year")
days = " ".join(sorted(os.listdir(year)))
cases = [
    ("year (365 day files)", year, days, sum(os.path.getsize(os.path.join(year, f)) for f in os.listdir(year))),
    ("1 MB text", work, "text1mb.txt", os.path.getsize(os.path.join(work, "text1mb.txt"))),
]
tools = [
    ("mirune-cli lha u", lambda out, files: f"'{cli}' lha u '{out}' {files}"),
    ("jlha a (-lh5-, level 2)", lambda out, files: f"jlha a '{out}' {files}"),
    ("gzip -6 (one member a file)", lambda out, files: f"gzip -6 -c {files} > '{out}'"),
]
print(f"| input | original bytes | tool | archive bytes | time (s) |")
print(f"|---|---:|---|---:|---:|")
for name, cwd, files, original in cases:
    for tool, command in tools:
        if shutil.which(command("x", "y").split()[0].strip("'")) is None and not tool.startswith("mirune"):
            print(f"| {name} | {original} | {tool} | (missing) | |")
            continue
        out = os.path.join(work, "out.bin")
        seconds, size = best(command(out, files), cwd, out)
        print(f"| {name} | {original} | {tool} | {size} | {seconds:.3f} |")
