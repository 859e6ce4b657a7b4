// A recording fake of the system seam: an in-memory tree, with Windows paths
// unless told otherwise, that logs every change the tool asks for, so tests
// can assert the exact calls and their order.
#ifndef HARDCLONE_TESTS_FAKE_SYSTEM_H
#define HARDCLONE_TESTS_FAKE_SYSTEM_H

#include <map>
#include <vector>

#include "general/system.h"

namespace hardclone {

class FakeSystem : public System {
 public:
  // --- the fixture ---
  void AddFolder(const Text& path);
  // A new file; with `sameAs` another name of that file.
  void AddFile(const Text& path, const Text& sameAs = Text());
  bool Has(const Text& path) const { return nodes_.count(path) != 0; }
  bool IsFolder(const Text& path) const;
  std::uint64_t IdOf(const Text& path) const;

  PathStyle style = PathStyle::windows;
  Text commandLine;                       // Windows
  std::vector<Text> arguments;            // POSIX
  Text currentDirectory = "C:\\work";
  std::map<Text, Text> environment;
  Text input;            // standard input, consumed as it is read
  Text output;           // everything written
  bool windowsNT = true;
  bool ntfs = true;
  bool listsIds = false;                  // ListIds gives ids, as on POSIX
  std::map<Text, ErrorCode> failures;     // path => error for links and folders
  std::vector<Text> vanishing;            // removed right after the listing that shows them
  std::vector<Text> calls;                // "CreateDirectory X", "Link D <- S", ...

  // --- the seam ---
  PathRules Rules() const override;
  Text CommandLine() override { return commandLine; }
  std::vector<Text> Arguments() override { return arguments; }
  Text ProgramPath() override {
    return style == PathStyle::windows ? "C:\\tools\\hardclone.exe" : "/usr/bin/hardclone";
  }
  void Write(const char* bytes, std::size_t size) override { output.append(bytes, size); }
  bool ReadChar(char& c) override;
  Text LineEnd() const override { return "\r\n"; }
  Text Localize(const Text& utf8) override { return utf8; }
  Text Reason(ErrorCode error) override { return "reason " + std::to_string(error); }

  bool IsWindowsNT() override { return windowsNT; }
  Text CurrentDirectory() override { return currentDirectory; }
  Text ExpandEnvironment(const Text& text) override;
  Text FullPath(const Text& path) override;
  Text RealPath(const Text& path) override { return FullPath(path); }
  bool DirectoryExists(const Text& path) override;
  bool FileExists(const Text& path) override;
  bool MakeDirectory(const Text& path) override;
  FileId Identify(const Text& path) override;
  bool EqualIgnoringCase(const Text& a, const Text& b) override;
  Text ComparisonKey(const Text& text) override;
  bool SameVolume(const Text& sourceDir, const Text& destDir) override;
  bool CanHoldLinks(const Text&) override { return ntfs; }
  ErrorCode RemoveTree(const Text& path, RemoveMode mode) override;

  ErrorCode OpenSource(Folder& folder) override;
  ErrorCode OpenDest(Folder& folder) override;
  void Close(Folder&) override {}
  ErrorCode List(Folder& folder, const Text& mask, std::vector<DirEntry>& entries) override;
  bool ListIds(Folder& folder, std::vector<DirEntry>& entries) override;
  FileId IdentifyIn(Folder& folder, const Text& name) override;
  ErrorCode Link(Folder& source, const Text& name, Folder& dest, const Text& destName) override;
  ErrorCode ReplaceWithLink(Folder& source, const Text& name, Folder& dest,
                            const Text& destName) override;
  bool IsExistsError(ErrorCode error) const override { return error == kExists; }

  static constexpr ErrorCode kExists = 183;
  static constexpr ErrorCode kPathNotFound = 3;

 private:
  struct Node {
    bool folder = false;
    std::uint64_t id = 0;
  };
  Text Key(const Text& path) const;  // without a trailing backslash
  std::vector<Text> Children(const Text& folder) const;

  std::map<Text, Node> nodes_;
  std::uint64_t nextId_ = 1;
};

}  // namespace hardclone

#endif
