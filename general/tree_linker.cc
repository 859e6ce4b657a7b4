#include "general/tree_linker.h"

#include <algorithm>

namespace hardclone {

bool Verbose = false;

namespace {

struct Walk {
  LinkContext& context;
  Text mask;  // "" in tree mode: every entry
  Text destName;
  bool recursive;
  FileId destRoot;  // never descended into
  int failures = 0;
};

void Trace(Walk& walk, const Text& line) {
  if (Verbose) walk.context.console.Line(line);
}

void Fail(Walk& walk, const Text& path, ErrorCode error) {
  LinkContext& c = walk.context;
  c.console.Line(Format(c.failureLine, {path, c.system.Reason(error)}));
  ++walk.failures;
}

Text Bare(Walk& walk, const Folder& folder) {
  return WithoutTrailingDelimiter(walk.context.system.Rules(), folder.path);
}

// Ids of an existing Dest folder's names, sorted by name, when the listing
// gives them and both folders lie on one volume.
bool DestIds(Walk& walk, Folder& source, Folder& dest, std::vector<DirEntry>& ids) {
  if (dest.created || dest.error != 0) return false;
  if (!source.id.known || !dest.id.known || source.id.volume != dest.id.volume) return false;
  if (!walk.context.system.ListIds(dest, ids)) return false;
  std::sort(ids.begin(), ids.end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return true;
}

const DirEntry* Find(const std::vector<DirEntry>& sorted, const Text& name) {
  auto it = std::lower_bound(sorted.begin(), sorted.end(), name,
                             [](const DirEntry& e, const Text& n) { return e.name < n; });
  return (it != sorted.end() && it->name == name) ? &*it : nullptr;
}

// The name exists: leave it when it already is the Source file, else
// replace it without ever removing it first.
void Replace(Walk& walk, Folder& source, const DirEntry& entry, Folder& dest, const Text& name) {
  System& system = walk.context.system;
  FileId from = entry.id.known ? entry.id : system.IdentifyIn(source, entry.name);
  if (SameFile(from, system.IdentifyIn(dest, name))) return;
  ErrorCode error = system.ReplaceWithLink(source, entry.name, dest, name);
  if (error != 0) Fail(walk, dest.path + name, error);
}

void LinkFile(Walk& walk, Folder& source, const DirEntry& entry, Folder& dest,
              const std::vector<DirEntry>* ids) {
  const Text& name = walk.destName.empty() ? entry.name : walk.destName;
  Trace(walk, "  " + name);
  if (dest.error != 0) {
    Fail(walk, dest.path + name, dest.error);
    return;
  }
  if (ids != nullptr) {
    const DirEntry* present = Find(*ids, name);
    if (present != nullptr) {
      if (!(entry.id.known && present->id.file == entry.id.file)) {
        Replace(walk, source, entry, dest, name);
      }
      return;
    }
  }
  ErrorCode error = walk.context.system.Link(source, entry.name, dest, name);
  if (error == 0) return;
  if (walk.context.system.IsExistsError(error)) {
    Replace(walk, source, entry, dest, name);
  } else {
    Fail(walk, dest.path + name, error);
  }
}

bool IsDestRoot(Walk& walk, Folder& source, const DirEntry& entry) {
  if (!walk.destRoot.known) return false;
  FileId id = entry.id.known ? entry.id : walk.context.system.IdentifyIn(source, entry.name);
  return SameFile(id, walk.destRoot);
}

void LinkFolder(Walk& walk, Folder& source, Folder& dest);

void Descend(Walk& walk, Folder& source, Folder& dest, const DirEntry& entry) {
  const PathRules rules = walk.context.system.Rules();
  Folder subSource;
  subSource.path = WithTrailingDelimiter(rules, source.path + entry.name);
  subSource.parent = &source;
  subSource.name = entry.name;
  subSource.id = entry.id;
  Folder subDest;
  subDest.path = WithTrailingDelimiter(rules, dest.path + entry.name);
  subDest.parent = &dest;
  subDest.name = entry.name;
  LinkFolder(walk, subSource, subDest);
}

void LinkFolder(Walk& walk, Folder& source, Folder& dest) {
  System& system = walk.context.system;
  Trace(walk, "");
  Trace(walk, "From: " + Bare(walk, source));
  Trace(walk, "To  : " + Bare(walk, dest));
  ErrorCode destError = system.OpenDest(dest);
  if (dest.created || destError != 0) {
    Trace(walk, "Create Directory -> " + NamePart(system.Rules(), Bare(walk, dest)));
  }
  if (destError != 0) Fail(walk, Bare(walk, dest), destError);
  if (dest.parent == nullptr) walk.destRoot = dest.id;
  Trace(walk, "");

  std::vector<DirEntry> entries;
  ErrorCode error = system.OpenSource(source);
  if (error == 0) error = system.List(source, walk.mask, entries);
  if (error != 0) {
    Fail(walk, walk.recursive || walk.mask.empty() ? Bare(walk, source) : source.path + walk.mask,
         error);
  }
  std::vector<DirEntry> ids;
  bool haveIds = error == 0 && DestIds(walk, source, dest, ids);
  for (const DirEntry& entry : entries) {
    if (entry.kind == EntryKind::folder) {
      if (walk.recursive && !IsDestRoot(walk, source, entry)) Descend(walk, source, dest, entry);
    } else {
      LinkFile(walk, source, entry, dest, haveIds ? &ids : nullptr);
    }
  }
  system.Close(source);
  system.Close(dest);
}

}  // namespace

int LinkTree(LinkContext& context, const Text& sourceFolder, const Text& destFolder,
             const Text& nameOrMask, const Text& destName, bool recursive) {
  const PathRules rules = context.system.Rules();
  Walk walk{context, recursive ? Text() : nameOrMask, destName, recursive, FileId()};
  Folder source;
  source.path = WithTrailingDelimiter(rules, sourceFolder);
  Folder dest;
  dest.path = WithTrailingDelimiter(rules, destFolder);
  LinkFolder(walk, source, dest);
  return walk.failures;
}

}  // namespace hardclone
