// POSIX side of the system seam (internal to the POSIX build).
#ifndef HARDCLONE_GENERAL_SYSTEM_POSIX_H
#define HARDCLONE_GENERAL_SYSTEM_POSIX_H

#include <vector>

#include "general/system.h"

namespace hardclone {

class PosixSystem : public System {
 public:
  PosixSystem(int argc, char** argv);

  PathRules Rules() const override { return rules_; }
  Text CommandLine() override { return Text(); }
  std::vector<Text> Arguments() override { return arguments_; }
  Text ProgramPath() override { return programPath_; }
  void Write(const char* bytes, std::size_t size) override;
  bool ReadChar(char& c) override;
  Text LineEnd() const override { return "\n"; }
  Text Localize(const Text& utf8) override;
  Text Reason(ErrorCode error) override;

  bool IsWindowsNT() override { return true; }
  Text CurrentDirectory() override;
  Text ExpandEnvironment(const Text& text) override;
  Text FullPath(const Text& path) override;
  Text RealPath(const Text& path) override;
  bool DirectoryExists(const Text& path) override;
  bool FileExists(const Text& path) override;
  bool MakeDirectory(const Text& path) override;
  FileId Identify(const Text& path) override;
  bool EqualIgnoringCase(const Text& a, const Text& b) override;
  Text ComparisonKey(const Text& text) override { return text; }
  bool SameVolume(const Text& sourceDir, const Text& destDir) override;
  bool CanHoldLinks(const Text& path) override;
  ErrorCode RemoveTree(const Text& path, RemoveMode mode) override;

  ErrorCode OpenSource(Folder& folder) override;
  ErrorCode OpenDest(Folder& folder) override;
  void Close(Folder& folder) override;
  ErrorCode List(Folder& folder, const Text& mask, std::vector<DirEntry>& entries) override;
  bool ListIds(Folder& folder, std::vector<DirEntry>& entries) override;
  FileId IdentifyIn(Folder& folder, const Text& name) override;
  ErrorCode Link(Folder& source, const Text& name, Folder& dest, const Text& destName) override;
  ErrorCode ReplaceWithLink(Folder& source, const Text& name, Folder& dest,
                            const Text& destName) override;
  bool IsExistsError(ErrorCode error) const override;

 private:

  void Track(Folder& folder, int fd);
  ErrorCode ReadEntries(Folder& folder, std::vector<DirEntry>& entries, const Text& mask);

  PathRules rules_;
  bool shiftJis_ = false;
  std::vector<Text> arguments_;
  Text programPath_;
  Text trashReason_;                 // the trash's own wording of its last failure
  // Directory descriptors held at once by the walk; deeper trees park the
  // shallowest ones and get them back through ".." on the way up.
  std::size_t maxOpenFolders_ = 256;
  std::vector<Folder*> openFolders_;  // in the order they were opened
  std::vector<char> listing_;         // getdents buffer, shared by every folder
  unsigned tempCounter_ = 0;
};

// The trash's failures get codes of their own, past every errno value.
constexpr ErrorCode kTrashFailed = 1 << 20;

}  // namespace hardclone

#endif
