#!/usr/bin/env python3
"""Make a seeded source tree for the benchmarks, or reuse one already made.

A normal tree holds --files entries spread over about files/files-per-folder
folders, nested at most --depth levels. Most files are tiny, a few are large;
some names are hidden, hold spaces or are Japanese; a few entries are symlinks
(to the parent folder, or dangling) so that linking them, not their targets,
is exercised.

--deep N makes a chain N folders deep instead, one small file per level. Its
full paths are far longer than PATH_MAX, so it is built through folder
descriptors only.

The stamp file is written last: a tree whose stamp matches the parameters is
complete and is reused; anything else in the folder is removed and remade.
"""
import argparse
import json
import os
import random
import subprocess
import sys

STAMP = ".make_tree.stamp"
VERSION = 2

WORDS = ["report", "notes", "data", "image", "backup", "draft", "log", "final"]
WORDS_JA = ["資料", "写真", "議事録", "設定", "日本語", "テスト", "アルバム"]
EXTS = [".txt", ".dat", ".jpg", ".doc", ".csv", ""]


def parse_args(argv):
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("dest", help="folder to make the tree in")
    p.add_argument("--files", type=int, default=100_000)
    p.add_argument("--files-per-folder", type=int, default=20)
    p.add_argument("--depth", type=int, default=6, help="maximum folder depth")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--deep", type=int, default=0,
                   help="make a chain this many folders deep instead")
    p.add_argument("--quiet", action="store_true")
    return p.parse_args(argv)


def params_of(args):
    if args.deep:
        return {"version": VERSION, "deep": args.deep, "seed": args.seed}
    return {"version": VERSION, "files": args.files,
            "files_per_folder": args.files_per_folder,
            "depth": args.depth, "seed": args.seed}


def stamp_matches(dest, params):
    try:
        with open(os.path.join(dest, STAMP)) as f:
            return json.load(f) == params
    except (OSError, ValueError):
        return False


def make_name(rng, i, with_ext=True):
    """A name of a mixed style, unique by its tag."""
    r = rng.random()
    ext = rng.choice(EXTS) if with_ext else ""
    if r < 0.05:
        return f".hidden_{i}{ext}"
    if r < 0.20:
        return f"{rng.choice(WORDS)} copy {i}{ext}"
    if r < 0.30:
        return f"{rng.choice(WORDS_JA)}_{i}{ext}"
    if r < 0.35:
        return f"{rng.choice(WORDS_JA)} {rng.choice(WORDS_JA)} {i}{ext}"
    return f"{rng.choice(WORDS)}_{i}{ext}"


def file_size(rng):
    """Mostly tiny; about one in a thousand is large."""
    r = rng.random()
    if r < 0.001:
        return rng.randint(16 << 10, 512 << 10)
    if r < 0.30:
        return 0
    return rng.randint(1, 512)


def write_file(path, size, dir_fd=None):
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644,
                 dir_fd=dir_fd)
    try:
        if size:
            os.write(fd, b"x" * size)
    finally:
        os.close(fd)


def plan_folders(rng, count, depth):
    """Relative folder paths; each new folder hangs under a random one."""
    folders = [("", 0)]
    for i in range(1, count):
        parent, level = rng.choice(folders)
        while level >= depth:
            parent, level = rng.choice(folders)
        name = make_name(rng, f"{i}d", with_ext=False)
        folders.append((os.path.join(parent, name), level + 1))
    return [f for f, _ in folders]


def make_wide(dest, args, rng):
    nfolders = max(1, -(-args.files // args.files_per_folder))
    folders = plan_folders(rng, nfolders, max(1, args.depth))
    for rel in folders[1:]:
        os.mkdir(os.path.join(dest, rel))
    for i in range(args.files):
        folder = os.path.join(dest, rng.choice(folders))
        name = make_name(rng, i)
        path = os.path.join(folder, name)
        if rng.random() < 0.005:
            # Half point at the parent folder, which a tool that followed
            # links would walk into forever; half point at nothing.
            os.symlink(".." if i % 2 else f"missing_{i}", path)
        else:
            write_file(path, file_size(rng))


def make_deep(dest, args):
    fd = os.open(dest, os.O_RDONLY | os.O_DIRECTORY)
    try:
        for level in range(args.deep):
            write_file(f"file {level}.txt", 16, dir_fd=fd)
            name = f"level {level:05d}"
            os.mkdir(name, dir_fd=fd)
            child = os.open(name, os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
            os.close(fd)
            fd = child
        write_file("bottom.txt", 16, dir_fd=fd)
    finally:
        os.close(fd)


def clear(dest):
    # rm copes with paths deeper than PATH_MAX; shutil.rmtree recurses.
    subprocess.run(["rm", "-rf", "--one-file-system", dest], check=True)


def ensure_tree(dest, params_args):
    """Make the tree unless a matching one is already there. True if made."""
    params = params_of(params_args)
    if stamp_matches(dest, params):
        return False
    if os.path.lexists(dest):
        clear(dest)
    os.makedirs(dest)
    rng = random.Random(params_args.seed)
    if params_args.deep:
        make_deep(dest, params_args)
    else:
        make_wide(dest, params_args, rng)
    with open(os.path.join(dest, STAMP), "w") as f:
        json.dump(params, f)
    return True


def tree_in(folder, files=100_000, files_per_folder=20, depth=6, seed=1,
            deep=0):
    """Path of a tree with these parameters inside folder, made if needed."""
    name = f"deep-{deep}" if deep else f"tree-{files}"
    path = os.path.join(folder, name)
    args = argparse.Namespace(files=files, files_per_folder=files_per_folder,
                              depth=depth, seed=seed, deep=deep)
    if not stamp_matches(path, params_of(args)):
        print(f"making {path}", file=sys.stderr, flush=True)
        ensure_tree(path, args)
    return path


def main(argv=None):
    args = parse_args(sys.argv[1:] if argv is None else argv)
    made = ensure_tree(args.dest, args)
    if not args.quiet:
        print(("made " if made else "reused ") + args.dest)


if __name__ == "__main__":
    main()
