#!/usr/bin/env python3
"""Benchmark hardclone against floor (the plain C yardstick) and cp -al.

Rounds interleave the programs, each on a freshly prepared Dest, and every
result is checked right after its timed run. Runs on a private tmpfs when one
can be mounted, and in the working folder. Progress goes to stderr, the table
to stdout; README.md explains the columns.
"""
import argparse
import os
import shutil
import statistics
import sys

import make_tree
import measure
import places
import programs
import rss_scan
from verify import Mismatch, check_linked

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_HARDCLONE = os.path.join(os.path.dirname(HERE),
                                 "build", "posix", "hardclone")
COLUMNS = ("fs", "case", "program", "median s", "ratio", "calls/file",
           "peak RSS MiB")
WIDTHS = (10, 6, 28, 9, 6, 10, 12)


def parse_args(argv):
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--hardclone", default=DEFAULT_HARDCLONE,
                   help="binary under test (default: %(default)s)")
    p.add_argument("--standin", action="store_true",
                   help="time cp -al as hardclone* even if the binary exists")
    p.add_argument("--floor", default=os.path.join(HERE, ".work", "floor"))
    p.add_argument("--run-stats",
                   default=os.path.join(HERE, ".work", "run_stats"),
                   help="launcher that times and reports peak RSS")
    p.add_argument("--workdir", default=os.path.join(HERE, ".work"),
                   help="folder on the working file system for trees")
    p.add_argument("--files", type=int, default=100_000)
    p.add_argument("--files-per-folder", type=int, default=20)
    p.add_argument("--depth", type=int, default=6)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--rounds", type=int, default=5)
    p.add_argument("--strace-files", type=int, default=10_000,
                   help="tree size for counting system calls (0: skip)")
    p.add_argument("--rerun-change", type=float, default=1.0,
                   help="percent of Dest files replaced, and again removed, "
                        "before each re-run")
    p.add_argument("--trace", action="store_true",
                   help="also time hardclone -v in the fresh case")
    p.add_argument("--no-tmpfs", action="store_true")
    p.add_argument("--no-workdir", action="store_true")
    p.add_argument("--rss-scan", action="store_true",
                   help="measure peak RSS as the tree grows instead")
    p.add_argument("--million", action="store_true",
                   help="in --rss-scan, also the 1,000,000-file tree")
    p.add_argument("--deep", type=int, default=3000,
                   help="in --rss-scan, depth of the chain (0: skip)")
    return p.parse_args(argv)


def log(*parts):
    print(*parts, file=sys.stderr, flush=True)


def pick_hardclone(args):
    """The binary to time, or None for the cp -al stand-in."""
    if args.standin:
        return None
    if os.access(args.hardclone, os.X_OK):
        return os.path.abspath(args.hardclone)
    log(f"NOTE: {args.hardclone} is missing: timing the stand-in "
        f"'{' '.join(programs.STANDIN)}' as hardclone*")
    return None


def tree(folder, args, files=None, deep=0):
    return make_tree.tree_in(folder, files or args.files,
                             args.files_per_folder, args.depth, args.seed,
                             deep)


def run_checked(prog, src, dst, folder, args):
    """One timed run, then the check of its result; (seconds, KiB)."""
    out = os.path.join(folder, "trace.out") if prog.trace else None
    seconds, kib = measure.run_timed(prog.argv + [src, dst], args.run_stats,
                                     out)
    counts = check_linked(src, dst)
    if out:
        with open(out, "rb") as f:
            lines = sum(1 for _ in f)
        os.unlink(out)
        if lines < counts["files"]:
            raise measure.RunFailed(f"{prog.name}: {lines} trace lines for "
                                    f"{counts['files']} files")
    return seconds, kib


def time_case(case, progs, src, folder, args):
    """Interleaved rounds; per program, lists of seconds and of KiB."""
    dst = os.path.join(folder, "dest")
    changes = (programs.pick_changes(src, args.rerun_change, args.seed)
               if case == "rerun" else None)
    seconds = {p.name: [] for p in progs}
    kib = {p.name: [] for p in progs}
    for r in range(args.rounds):
        log(f"  {case} round {r + 1}/{args.rounds}")
        # Rotate the order so that no program always runs first.
        for p in progs[r % len(progs):] + progs[:r % len(progs)]:
            programs.prepare(case, src, dst, changes)
            s, k = run_checked(p, src, dst, folder, args)
            seconds[p.name].append(s)
            kib[p.name].append(k)
    places.remove(dst)
    return seconds, kib


def calls_per_file(case, progs, small, folder, args):
    """Per program, system calls per file beyond those of an empty run."""
    if not args.strace_files or not shutil.which("strace"):
        return {}
    dst = os.path.join(folder, "dest")
    empty = os.path.join(folder, "empty")
    os.makedirs(empty, exist_ok=True)
    changes = (programs.pick_changes(small, args.rerun_change, args.seed)
               if case == "rerun" else None)
    result = {}
    for p in progs:
        programs.prepare(case, empty, dst, ([], []))
        base = measure.syscall_count(p.argv + [empty, dst])
        programs.prepare(case, small, dst, changes)
        total = measure.syscall_count(p.argv + [small, dst])
        files = check_linked(small, dst)["files"]
        result[p.name] = (total - base) / files
    places.remove(dst)
    return result


def rows_of(fs, case, progs, seconds, kib, calls):
    ref = next(p.name for p in progs if p.reference)
    rows = []
    for p in progs:
        ratios = [a / b for a, b in zip(seconds[p.name], seconds[ref])]
        per_file = calls.get(p.name)
        rows.append((fs, case, p.name,
                     f"{statistics.median(seconds[p.name]):.3f}",
                     f"{statistics.median(ratios):.2f}",
                     "-" if per_file is None else f"{per_file:.2f}",
                     f"{max(kib[p.name]) / 1024:.1f}"))
    return rows


def print_row(cells):
    print("  ".join(str(c).ljust(w) for c, w in zip(cells, WIDTHS)).rstrip(),
          flush=True)


def bench_place(folder, binary, args):
    fs = places.fs_type(folder)
    log(f"== {fs} at {folder}")
    src = tree(folder, args)
    small = tree(folder, args, files=args.strace_files) \
        if args.strace_files else None
    counts = check_linked(src, src)
    print(f"# {fs} at {folder}: {counts['files']} files, "
          f"{counts['folders']} folders")
    rows = []
    for case in programs.CASES:
        progs = programs.contenders(case, binary, args.floor, args.trace)
        seconds, kib = time_case(case, progs, src, folder, args)
        log(f"  {case}: counting system calls")
        calls = calls_per_file(case, progs, small, folder, args) \
            if small else {}
        rows += rows_of(fs, case, progs, seconds, kib, calls)
    return rows


def on_tmpfs(binary, args):
    folder, why = places.mount_tmpfs()
    if folder is None:
        log(f"NOTE: no tmpfs ({why}): working file system only")
        return []
    try:
        return bench_place(folder, binary, args)
    finally:
        places.unmount(folder)


def main(argv=None):
    args = parse_args(sys.argv[1:] if argv is None else argv)
    for helper in ("floor", "run_stats"):
        path = os.path.abspath(getattr(args, helper))
        if not os.access(path, os.X_OK):
            sys.exit(f"{path} is missing: run bash bench/run.sh, which "
                     f"builds it from bench/{helper}.c")
        setattr(args, helper, path)
    binary = pick_hardclone(args)
    if args.rss_scan:
        return rss_scan.main(binary, args, tree, log)
    print(f"# hardclone: {binary or 'stand-in ' + ' '.join(programs.STANDIN)}"
          f"; reference: floor; {args.rounds} rounds; syscalls on "
          f"{args.strace_files} files")
    rows = [] if args.no_tmpfs else on_tmpfs(binary, args)
    if not args.no_workdir:
        os.makedirs(args.workdir, exist_ok=True)
        rows += bench_place(os.path.abspath(args.workdir), binary, args)
    print_row(COLUMNS)
    for row in rows:
        print_row(row)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (measure.RunFailed, Mismatch) as e:
        # Dest is left as it was for a look.
        sys.exit(f"BENCHMARK FAILED: {e}")
