#include "tests/unit/fake_system.h"

namespace hardclone {

namespace {

// '*' and '?' over bytes, case-sensitive: enough for the tests' masks.
bool Matches(const char* mask, const char* name) {
  if (*mask == '\0') return *name == '\0';
  if (*mask == '*') return Matches(mask + 1, name) || (*name != '\0' && Matches(mask, name + 1));
  if (*name == '\0') return false;
  return (*mask == '?' || *mask == *name) && Matches(mask + 1, name + 1);
}

Text Upper(Text text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}

}  // namespace

PathRules FakeSystem::Rules() const {
  return PathRules{style, style == PathStyle::windows ? IsCp932LeadByte : NoLeadBytes};
}

Text FakeSystem::Key(const Text& path) const { return WithoutTrailingDelimiter(Rules(), path); }

void FakeSystem::AddFolder(const Text& path) { nodes_[Key(path)] = Node{true, nextId_++}; }

void FakeSystem::AddFile(const Text& path, const Text& sameAs) {
  nodes_[Key(path)] = Node{false, sameAs.empty() ? nextId_++ : IdOf(sameAs)};
}

bool FakeSystem::IsFolder(const Text& path) const {
  auto it = nodes_.find(Key(path));
  return it != nodes_.end() && it->second.folder;
}

std::uint64_t FakeSystem::IdOf(const Text& path) const {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? 0 : it->second.id;
}

std::vector<Text> FakeSystem::Children(const Text& folder) const {
  const Text prefix = WithTrailingDelimiter(Rules(), folder);
  std::vector<Text> names;
  for (const auto& node : nodes_) {
    const Text& path = node.first;
    if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
        path.find(Delimiter(Rules()), prefix.size()) == Text::npos) {
      names.push_back(path.substr(prefix.size()));
    }
  }
  return names;
}

bool FakeSystem::ReadChar(char& c) {
  if (input.empty()) return false;
  c = input[0];
  input.erase(0, 1);
  return true;
}

Text FakeSystem::ExpandEnvironment(const Text& text) {
  Text result = text;
  for (const auto& variable : environment) {
    const Text reference = "%" + variable.first + "%";
    for (size_t at; (at = result.find(reference)) != Text::npos;) {
      result.replace(at, reference.size(), variable.second);
    }
  }
  return result;
}

Text FakeSystem::FullPath(const Text& path) {
  if (path.empty()) return path;
  if (style == PathStyle::posix) return LexicalFullPath(path, currentDirectory);
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return path;
  if (path.size() == 2 && path[1] == ':') return currentDirectory;
  return currentDirectory + "\\" + path;
}

bool FakeSystem::DirectoryExists(const Text& path) { return !HasWildcard(path) && IsFolder(path); }

bool FakeSystem::FileExists(const Text& path) { return Has(Key(path)) && !IsFolder(path); }

bool FakeSystem::MakeDirectory(const Text& path) {
  calls.push_back("MakeDirectory " + path);
  if (!IsFolder(DirectoryPart(Rules(), Key(path)))) return false;
  AddFolder(path);
  return true;
}

FileId FakeSystem::Identify(const Text& path) {
  std::uint64_t id = IdOf(path);
  return id == 0 ? FileId() : FileId{1, id, true};
}

bool FakeSystem::EqualIgnoringCase(const Text& a, const Text& b) { return Upper(a) == Upper(b); }

Text FakeSystem::ComparisonKey(const Text& text) { return TrimBlanks(Upper(text)); }

bool FakeSystem::SameVolume(const Text& sourceDir, const Text& destDir) {
  return EqualIgnoringCase(DrivePart(Rules(), sourceDir), DrivePart(Rules(), destDir));
}

ErrorCode FakeSystem::RemoveTree(const Text& path, RemoveMode mode) {
  calls.push_back(Text(mode == RemoveMode::recycleBin ? "Recycle " : "Delete ") + path);
  const Text prefix = Key(path) + Delimiter(Rules());
  for (auto it = nodes_.begin(); it != nodes_.end();) {
    bool inside = it->first == Key(path) || it->first.compare(0, prefix.size(), prefix) == 0;
    it = inside ? nodes_.erase(it) : std::next(it);
  }
  return 0;
}

ErrorCode FakeSystem::OpenSource(Folder& folder) {
  folder.id = Identify(folder.Path());
  return 0;
}

ErrorCode FakeSystem::OpenDest(Folder& folder) {
  const Text path = Key(folder.Path());
  if (!IsFolder(path)) {
    auto failure = failures.find(path);
    if (failure != failures.end()) return folder.error = failure->second;
    if (Has(path) || !IsFolder(DirectoryPart(Rules(), path))) return folder.error = kPathNotFound;
    calls.push_back("CreateDirectory " + path);
    AddFolder(path);
    folder.created = true;
  }
  folder.id = Identify(path);
  return 0;
}

ErrorCode FakeSystem::List(Folder& folder, const Text& mask, std::vector<DirEntry>& entries) {
  calls.push_back("List " + folder.Path() + (mask.empty() ? "*.*" : mask));
  if (!IsFolder(folder.Path())) return kPathNotFound;
  for (const Text& name : Children(folder.Path())) {
    if (!mask.empty() && !Matches(mask.c_str(), name.c_str())) continue;
    const Text path = folder.Path() + name;
    DirEntry entry{name, IsFolder(path) ? EntryKind::folder : EntryKind::file, FileId()};
    if (listsIds) entry.id = Identify(path);
    entries.push_back(entry);
  }
  for (const Text& path : vanishing) nodes_.erase(Key(path));
  return 0;
}

bool FakeSystem::ListIds(Folder& folder, std::vector<DirEntry>& entries) {
  if (!listsIds) return false;
  calls.push_back("ListIds " + folder.Path());
  for (const Text& name : Children(folder.Path())) {
    entries.push_back(DirEntry{name, EntryKind::file, Identify(folder.Path() + name)});
  }
  return true;
}

FileId FakeSystem::IdentifyIn(Folder& folder, const Text& name) { return Identify(folder.Path() + name); }

ErrorCode FakeSystem::Link(Folder& source, const Text& name, Folder& dest, const Text& destName) {
  const Text target = dest.Path() + destName;
  calls.push_back("Link " + target + " <- " + source.Path() + name);
  if (dest.error != 0) return dest.error;
  auto failure = failures.find(target);
  if (failure != failures.end()) return failure->second;
  if (Has(target)) return kExists;
  if (!Has(source.Path() + name)) return kPathNotFound;
  AddFile(target, source.Path() + name);
  return 0;
}

ErrorCode FakeSystem::ReplaceWithLink(Folder& source, const Text& name, Folder& dest,
                                      const Text& destName) {
  const Text target = dest.Path() + destName;
  calls.push_back("Replace " + target + " <- " + source.Path() + name);
  auto failure = failures.find(target);
  if (failure != failures.end()) return failure->second;
  if (!Has(source.Path() + name)) return kPathNotFound;
  if (IsFolder(target)) return 5;
  AddFile(target, source.Path() + name);
  return 0;
}

}  // namespace hardclone
