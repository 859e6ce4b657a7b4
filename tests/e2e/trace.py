"""The verbose trace of a walk: built from a fixture, parsed from output.

One block per visited folder:
    (empty line)
    From: <source folder>
    To  : <dest folder>
    Create Directory -> <last component>     (only when Dest was missing)
    (empty line)
    "  <file>" per linked file, with the blocks of subfolders in between.
Under Wine the listing is sorted by upper-cased name, so the Windows text
is compared exactly. Linux leaves the order of a listing open, and a file
line after a subfolder's block may belong to any folder still open, so the
native trace is matched against the expected tree instead.
"""

import collections


class Block:
    def __init__(self, source, dest, create=None):
        self.source = source
        self.dest = dest
        self.create = create
        self.files = []
        self.children = []  # (entry name, Block)

    def lines(self):
        out = ["", "From: " + self.source, "To  : " + self.dest]
        if self.create is not None:
            out.append("Create Directory -> " + self.create)
        out.append("")
        items = [(name, None) for name in self.files] + list(self.children)
        for name, child in sorted(items, key=lambda item: item[0].upper()):
            out.extend(["  " + name] if child is None else child.lines())
        return out



def expected(target, src, dst, tree, existing=(), top_missing=False):
    """Block for a walk of `tree` (name -> None for a file, dict for a folder).

    existing: Dest subfolders (relative Linux paths) present before the walk;
    every other subfolder gets a Create line. top_missing: the Dest folder
    itself is missing when the walk starts (it was removed by -c or -d).
    """
    def walk(rel, entries, create):
        source = src + rel
        dest = dst + rel
        block = Block(target.shown(source), target.shown(dest),
                      dest.rsplit("/", 1)[-1] if create else None)
        for name, sub in entries.items():
            if sub is None:
                block.files.append(name)
            else:
                child_rel = rel + "/" + name
                block.children.append(
                    (name, walk(child_rel, sub, child_rel[1:] not in existing)))
        return block
    return walk("", tree, top_missing)


class TraceError(ValueError):
    pass


def mismatch(lines, blocks):
    """Why a trace (decoded lines) is no depth-first walk of blocks, or None.

    Every folder's block must appear once, after its parent's and while the
    parent is still open; each file line must belong to an open folder.
    """
    parent_of, by_source = {}, {}

    def register(block, parent):
        by_source[block.source] = block
        parent_of[block.source] = parent
        for _, child in block.children:
            register(child, block)
    for block in blocks:
        register(block, None)

    stack, seen, i = [], set(), 0

    def close_until(parent):
        while stack and stack[-1][0] is not parent:
            block, left = stack.pop()
            if +left:
                return "files %s of %s are missing" % (sorted(left.elements()), block.source)
        return None

    while i < len(lines):
        if lines[i].startswith("  "):
            name = lines[i][2:]
            for _, left in reversed(stack):
                if left[name] > 0:
                    left[name] -= 1
                    break
            else:
                return "line %d: file %r belongs to no open folder" % (i, name)
            i += 1
            continue
        try:
            got, i = _header(lines, i)
        except TraceError as e:
            return str(e)
        want = by_source.get(got.source)
        if want is None or got.source in seen:
            return "unexpected block for %r" % got.source
        if (got.dest, got.create) != (want.dest, want.create):
            return "block of %r: got To %r, Create %r; want %r, %r" % (
                got.source, got.dest, got.create, want.dest, want.create)
        parent = parent_of[got.source]
        error = close_until(parent)
        if error:
            return error
        if parent is not None and not stack:
            return "block of %r comes after its parent was closed" % got.source
        seen.add(got.source)
        stack.append((want, collections.Counter(want.files)))
    error = close_until(None)
    if error:
        return error
    missing = sorted(set(by_source) - seen)
    return "no block for %s" % missing if missing else None


def _header(lines, i):
    def take(prefix):
        nonlocal i
        if i >= len(lines) or not lines[i].startswith(prefix):
            raise TraceError("line %d: expected %r, got %r" % (
                i, prefix, lines[i] if i < len(lines) else "<end>"))
        i += 1
        return lines[i - 1][len(prefix):]
    if take("") != "":
        raise TraceError("line %d: expected an empty line" % (i - 1))
    block = Block(take("From: "), take("To  : "))
    if i < len(lines) and lines[i].startswith("Create Directory -> "):
        block.create = take("Create Directory -> ")
    if take("") != "":
        raise TraceError("line %d: expected an empty line" % (i - 1))
    return block, i
