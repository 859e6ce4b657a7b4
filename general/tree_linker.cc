#include "general/tree_linker.h"

#include <algorithm>

namespace hardclone {

bool Verbose = false;

namespace {

struct Walk {
  LinkContext& context;
  PathRules rules;
  Text mask;  // "" in tree mode: every entry
  Text destName;
  bool recursive;
  FileId destRoot;  // never descended into
  int failures = 0;
  Text sourceTrail;  // full paths of the current chain of folders
  Text destTrail;
};

void Fail(Walk& walk, const Text& path, ErrorCode error) {
  ReportFailure(walk.context, path, error);
  ++walk.failures;
}

Text Bare(Walk& walk, const Folder& folder) {
  return WithoutTrailingDelimiter(walk.rules, folder.Path());
}

// An existing Dest folder's names with their ids, sorted by name, when the
// listing gives them and both folders lie on one volume.
bool DestIds(Walk& walk, Folder& source, Folder& dest, std::vector<DirEntry>& ids) {
  if (dest.created || dest.error != 0) return false;
  if (!source.id.known || !dest.id.known || source.id.volume != dest.id.volume) return false;
  if (!walk.context.system.ListIds(dest, ids)) return false;
  std::sort(ids.begin(), ids.end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return true;
}

const DirEntry* Find(const std::vector<DirEntry>* sorted, const Text& name) {
  if (sorted == nullptr) return nullptr;
  auto it = std::lower_bound(sorted->begin(), sorted->end(), name,
                             [](const DirEntry& e, const Text& n) { return e.name < n; });
  return (it != sorted->end() && it->name == name) ? &*it : nullptr;
}

// The name exists: leave it when it already is the Source file, else
// replace it without ever removing it first.
void Replace(Walk& walk, Folder& source, const DirEntry& entry, Folder& dest, const Text& name) {
  System& system = walk.context.system;
  FileId from = entry.id.known ? entry.id : system.IdentifyIn(source, entry.name);
  if (SameFile(from, system.IdentifyIn(dest, name))) return;
  ErrorCode error = system.ReplaceWithLink(source, entry.name, dest, name);
  if (error != 0) Fail(walk, dest.Path() + name, error);
}

// ids: the existing Dest folder's listing, null when there is none to use.
void LinkFile(Walk& walk, Folder& source, const DirEntry& entry, Folder& dest,
              const std::vector<DirEntry>* ids) {
  const Text& name = walk.destName.empty() ? entry.name : walk.destName;
  if (Verbose) walk.context.console.Line("  " + name);
  if (dest.error != 0) {
    Fail(walk, dest.Path() + name, dest.error);
    return;
  }
  if (const DirEntry* present = Find(ids, name)) {
    if (!(entry.id.known && present->id.file == entry.id.file)) {
      Replace(walk, source, entry, dest, name);
    }
    return;
  }
  ErrorCode error = walk.context.system.Link(source, entry.name, dest, name);
  if (error == 0) return;
  if (walk.context.system.IsExistsError(error)) {
    Replace(walk, source, entry, dest, name);
  } else {
    Fail(walk, dest.Path() + name, error);
  }
}

bool IsDestRoot(Walk& walk, Folder& source, const DirEntry& entry) {
  if (!walk.destRoot.known) return false;
  FileId id = entry.id.known ? entry.id : walk.context.system.IdentifyIn(source, entry.name);
  return SameFile(id, walk.destRoot);
}

// The next folder down the chain: its path replaces whatever the trail held
// below the parent.
void Enter(Walk& walk, Text& trail, Folder& parent, const Text& name, Folder& child) {
  trail.resize(parent.length);
  trail += name;
  trail += Delimiter(walk.rules);
  child.trail = &trail;
  child.length = trail.size();
  child.parent = &parent;
  child.name = name;
}

void LinkFolder(Walk& walk, Folder& source, Folder& dest);

void Descend(Walk& walk, Folder& source, Folder& dest, const DirEntry& entry,
             const std::vector<DirEntry>* ids) {
  Folder subSource;
  Enter(walk, walk.sourceTrail, source, entry.name, subSource);
  subSource.id = entry.id;
  Folder subDest;
  Enter(walk, walk.destTrail, dest, entry.name, subDest);
  const DirEntry* present = Find(ids, entry.name);
  if (present != nullptr && present->kind == EntryKind::folder) {
    subDest.existed = true;
    subDest.id = present->id;
  }
  LinkFolder(walk, subSource, subDest);
}

void LinkFolder(Walk& walk, Folder& source, Folder& dest) {
  System& system = walk.context.system;
  Console& console = walk.context.console;
  if (Verbose) {
    console.Line("");
    console.Line("From: " + Bare(walk, source));
    console.Line("To  : " + Bare(walk, dest));
  }
  ErrorCode destError = system.OpenDest(dest);
  if (Verbose && (dest.created || destError != 0)) {
    console.Line("Create Directory -> " + NamePart(walk.rules, Bare(walk, dest)));
  }
  if (destError != 0) Fail(walk, Bare(walk, dest), destError);
  if (dest.parent == nullptr) walk.destRoot = dest.id;
  if (Verbose) console.Line("");

  std::vector<DirEntry> entries;
  ErrorCode error = system.OpenSource(source);
  if (error == 0) error = system.List(source, walk.mask, entries);
  if (error != 0) {
    Fail(walk, walk.mask.empty() ? Bare(walk, source) : source.Path() + walk.mask, error);
  }
  std::vector<DirEntry> ids;
  const std::vector<DirEntry>* listed =
      error == 0 && DestIds(walk, source, dest, ids) ? &ids : nullptr;
  for (const DirEntry& entry : entries) {
    if (entry.kind == EntryKind::folder) {
      if (walk.recursive && !IsDestRoot(walk, source, entry)) {
        Descend(walk, source, dest, entry, listed);
      }
    } else {
      LinkFile(walk, source, entry, dest, listed);
    }
  }
  system.Close(source);
  system.Close(dest);
}

}  // namespace

void ReportFailure(LinkContext& context, const Text& path, ErrorCode error) {
  context.console.Line(Format(context.failureLine, {path, context.system.Reason(error)}));
}

int LinkTree(LinkContext& context, const Text& sourceFolder, const Text& destFolder,
             const Text& nameOrMask, const Text& destName, bool recursive) {
  const PathRules rules = context.system.Rules();
  Walk walk{context,  rules, recursive ? Text() : nameOrMask,
            destName, recursive, FileId(), 0, WithTrailingDelimiter(rules, sourceFolder),
            WithTrailingDelimiter(rules, destFolder)};
  Folder source;
  source.trail = &walk.sourceTrail;
  source.length = walk.sourceTrail.size();
  Folder dest;
  dest.trail = &walk.destTrail;
  dest.length = walk.destTrail.size();
  LinkFolder(walk, source, dest);
  return walk.failures;
}

}  // namespace hardclone
