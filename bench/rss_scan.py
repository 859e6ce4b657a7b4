"""Memory growth: hardclone's peak RSS as the tree grows, floor's beside it,
and a chain thousands of folders deep that must link completely.

Unlike the timing rounds, a failure here is reported in its row and makes
the exit code 1, so that one tree's failure does not hide the others.
"""
import os

import measure
import places
import programs
from verify import Mismatch, check_linked

COLUMNS = ("tree", "files", "folders", "hardclone RSS MiB", "floor RSS MiB",
           "hardclone s")
WIDTHS = (16, 9, 8, 18, 14, 11)


def one_run(argv, src, dst, run_stats):
    """Peak KiB, seconds and counts of one fresh run, or the error text."""
    places.remove(dst)
    os.sync()
    try:
        seconds, kib = measure.run_timed(argv + [src, dst], run_stats)
        return kib, seconds, check_linked(src, dst)
    except (measure.RunFailed, Mismatch, OSError) as e:
        return None, None, str(e)
    finally:
        places.remove(dst)


def scan_row(label, src, dst, binary, args, failures):
    hc_kib, hc_s, hc_out = one_run(programs.hardclone_argv(binary), src, dst,
                                   args.run_stats)
    fl_kib, _, fl_out = one_run([args.floor], src, dst, args.run_stats)
    counts = next((c for c in (hc_out, fl_out) if isinstance(c, dict)),
                  {"files": "?", "folders": "?"})
    for who, kib, out in (("hardclone", hc_kib, hc_out),
                          ("floor", fl_kib, fl_out)):
        if kib is None:
            failures.append(f"{label}, {who}: {out}")
    return (label, counts["files"], counts["folders"],
            "FAILED" if hc_kib is None else f"{hc_kib / 1024:.1f}",
            "FAILED" if fl_kib is None else f"{fl_kib / 1024:.1f}",
            "-" if hc_s is None else f"{hc_s:.3f}")


def scan(folder, binary, args, tree, log):
    sizes = [10_000, 100_000] + ([1_000_000] if args.million else [])
    dst = os.path.join(folder, "dest")
    trees = [(f"{n} files", lambda n=n: tree(folder, args, files=n))
             for n in sizes]
    if args.deep:
        trees.append((f"{args.deep} deep",
                      lambda: tree(folder, args, deep=args.deep)))
    rows, failures = [], []
    for label, make in trees:
        log(f"  {label}")
        rows.append(scan_row(label, make(), dst, binary, args, failures))
    return rows, failures


def print_row(cells):
    print("  ".join(str(c).ljust(w) for c, w in zip(cells, WIDTHS)).rstrip(),
          flush=True)


def main(binary, args, tree, log):
    folder, why = (None, "--no-tmpfs") if args.no_tmpfs \
        else places.mount_tmpfs()
    if folder is None:
        log(f"NOTE: no tmpfs ({why}): scanning in {args.workdir}")
        os.makedirs(args.workdir, exist_ok=True)
        place = os.path.abspath(args.workdir)
    else:
        place = folder
    try:
        print(f"# hardclone: {binary or 'stand-in'}; "
              f"{places.fs_type(place)} at {place}")
        rows, failures = scan(place, binary, args, tree, log)
    finally:
        if folder:
            places.unmount(folder)
    print_row(COLUMNS)
    for row in rows:
        print_row(row)
    for failure in failures:
        print(f"FAILED {failure}")
    return 1 if failures else 0
