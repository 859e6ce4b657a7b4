// Windows side of the system seam (internal to the Windows build): the Win32
// ANSI services.
#ifndef HARDCLONE_GENERAL_SYSTEM_WIN32_H
#define HARDCLONE_GENERAL_SYSTEM_WIN32_H

#include "general/system.h"

namespace hardclone {

// The system services by their own names.
bool IsNtfsVolume(const Text& path);
// Fills one SHFILEOPSTRUCTA: the base flags 0x0414, 0x0200 unless deleting,
// and the low 16 bits of flags. The shell's result: 0 when it succeeded.
int ShellFileOperation(unsigned operation, const Text& from, const Text& to, unsigned flags);

class Win32System : public System {
 public:
  PathRules Rules() const override;
  Text CommandLine() override;
  std::vector<Text> Arguments() override { return {}; }
  Text ProgramPath() override;
  void Write(const char* bytes, std::size_t size) override;
  bool ReadChar(char& c) override;
  Text LineEnd() const override { return "\r\n"; }
  Text Localize(const Text& utf8) override;
  Text Reason(ErrorCode error) override;

  bool IsWindowsNT() override;
  Text CurrentDirectory() override;
  Text ExpandEnvironment(const Text& text) override;
  Text FullPath(const Text& path) override;
  Text RealPath(const Text& path) override;
  bool DirectoryExists(const Text& path) override;
  bool FileExists(const Text& path) override;
  bool MakeDirectory(const Text& path) override;
  FileId Identify(const Text& path) override;
  bool EqualIgnoringCase(const Text& a, const Text& b) override;
  Text ComparisonKey(const Text& text) override;
  bool SameVolume(const Text& sourceDir, const Text& destDir) override;
  bool CanHoldLinks(const Text& path) override { return IsNtfsVolume(path); }
  ErrorCode RemoveTree(const Text& path, RemoveMode mode) override;

  ErrorCode OpenSource(Folder& folder) override;
  ErrorCode OpenDest(Folder& folder) override;
  void Close(Folder&) override {}
  ErrorCode List(Folder& folder, const Text& mask, std::vector<DirEntry>& entries) override;
  bool ListIds(Folder&, std::vector<DirEntry>&) override { return false; }
  FileId IdentifyIn(Folder& folder, const Text& name) override;
  ErrorCode Link(Folder& source, const Text& name, Folder& dest, const Text& destName) override;
  ErrorCode ReplaceWithLink(Folder& source, const Text& name, Folder& dest,
                            const Text& destName) override;
  bool IsExistsError(ErrorCode error) const override;

 private:
  unsigned tempCounter_ = 0;
};

}  // namespace hardclone

#endif
