"""Check that a destination tree is a complete hard-link mirror of a source.

Every non-folder entry of the source must be present under the same name in
the destination with the same inode (symlinks compared as themselves), every
folder must be a real folder, and the destination may hold nothing else.

The walk goes through folder descriptors only, two per level, so trees far
deeper than PATH_MAX are checked like any other.
"""
import os
import resource

DIR_FLAGS = os.O_RDONLY | os.O_DIRECTORY | os.O_NOFOLLOW | os.O_CLOEXEC


class Mismatch(Exception):
    pass


def raise_fd_limit():
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    if soft < hard:
        resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))


def inode(entry):
    return entry.stat(follow_symlinks=False).st_ino


def check_folder(sfd, dfd, counts):
    """Check one folder's entries; return the names of its subfolders."""
    theirs = {e.name: e for e in os.scandir(dfd)}
    subdirs = []
    for e in os.scandir(sfd):
        d = theirs.pop(e.name, None)
        if d is None:
            raise Mismatch("missing in destination", e.name)
        if e.is_dir(follow_symlinks=False):
            if not d.is_dir(follow_symlinks=False):
                raise Mismatch("not a real folder in destination", e.name)
            subdirs.append(e.name)
        elif inode(e) != inode(d):
            raise Mismatch("different inode in destination", e.name)
        else:
            counts["files"] += 1
    if theirs:
        raise Mismatch(f"{len(theirs)} extra name(s) in destination, e.g.",
                       sorted(theirs)[0])
    counts["folders"] += len(subdirs)
    return subdirs


def check_linked(src, dst):
    """Raise Mismatch unless dst mirrors src; return file and folder counts."""
    raise_fd_limit()
    counts = {"files": 0, "folders": 0}
    # One frame per level: descriptors, folder name, subfolders still to do.
    stack = [[os.open(src, DIR_FLAGS), os.open(dst, DIR_FLAGS), ".", []]]
    try:
        stack[0][3] = check_folder(stack[0][0], stack[0][1], counts)
        while stack:
            sfd, dfd, _, pending = stack[-1]
            if not pending:
                os.close(sfd)
                os.close(dfd)
                stack.pop()
                continue
            name = pending.pop()
            frame = [os.open(name, DIR_FLAGS, dir_fd=sfd), -1, name, []]
            stack.append(frame)
            frame[1] = os.open(name, DIR_FLAGS, dir_fd=dfd)
            frame[3] = check_folder(frame[0], frame[1], counts)
    except Mismatch as m:
        where = "/".join(f[2] for f in stack) + "/" + m.args[1]
        raise Mismatch(f"{dst}: {m.args[0]} {where!r}") from None
    finally:
        for sfd, dfd, _, _ in stack:
            os.close(sfd)
            if dfd >= 0:
                os.close(dfd)
    return counts


if __name__ == "__main__":
    import sys
    print(check_linked(sys.argv[1], sys.argv[2]))
