"""The programs compared in each case, and how each case's Dest is made.

fresh: Dest does not exist.
rerun: Dest was linked from Src before, then a seeded few of its names were
       replaced by other files and a few removed, so a re-run has to relink
       some names and leave the rest alone.
"""
import os
import random
import subprocess
from dataclasses import dataclass

import places

# Used under the name hardclone* while the real binary is not built.
STANDIN = ["cp", "-a", "-l", "--remove-destination", "-T"]
CASES = ("fresh", "rerun")


@dataclass
class Program:
    name: str
    argv: list  # SRC and DST are appended
    reference: bool = False
    trace: bool = False  # prints a line per file to stdout


def hardclone_argv(binary):
    return [binary] if binary else STANDIN


def contenders(case, binary, floor, with_trace=False):
    hc_name = "hardclone" if binary else "hardclone*"
    hc = hardclone_argv(binary)
    if case == "fresh":
        progs = [Program(hc_name, hc),
                 Program("floor", [floor], reference=True),
                 Program("cp -al", ["cp", "-al"])]
        if with_trace:
            progs.append(Program(hc_name + " -v", hc + ["-v"], trace=True))
        return progs
    # -T: Dest exists, and without it cp would copy into Dest/basename(Src).
    return [Program(hc_name, hc),
            Program("floor --rerun", [floor, "--rerun"], reference=True),
            Program("cp -al --remove-destination",
                    ["cp", "-al", "--remove-destination", "-T"])]


def pick_changes(src, percent, seed):
    """Seeded (replace, remove) lists of relative file paths under src."""
    files = []
    for folder, _, names in os.walk(src):
        rel = os.path.relpath(folder, src)
        files.extend(os.path.normpath(os.path.join(rel, n)) for n in names)
    files.sort()
    count = min(len(files) // 2, round(len(files) * percent / 100))
    chosen = random.Random(seed).sample(files, 2 * count)
    return chosen[:count], chosen[count:]


def prepare(case, src, dst, changes):
    """Make Dest ready for one run of case (outside the timing), synced."""
    places.remove(dst)
    if case == "rerun":
        subprocess.run(["cp", "-al", src, dst], check=True)
        replace, drop = changes
        for rel in replace:
            path = os.path.join(dst, rel)
            os.unlink(path)
            os.close(os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL))
        for rel in drop:
            os.unlink(os.path.join(dst, rel))
    os.sync()
