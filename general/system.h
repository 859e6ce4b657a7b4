// The one seam between the tool and the operating system. Everything above it
// is shared by the Windows and POSIX builds; tests replace it with a recording
// fake. No platform types cross it.
#ifndef HARDCLONE_GENERAL_SYSTEM_H
#define HARDCLONE_GENERAL_SYSTEM_H

#include <cstdint>
#include <vector>

#include "general/path_rules.h"
#include "general/text.h"

namespace hardclone {

// Volume and file id (Windows) or device and inode (POSIX).
struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  bool known = false;
};

inline bool SameFile(const FileId& a, const FileId& b) {
  return a.known && b.known && a.volume == b.volume && a.file == b.file;
}

// A platform error code (GetLastError or errno); 0 means success.
using ErrorCode = int;

enum class EntryKind : std::uint8_t { file, folder };

struct DirEntry {
  Text name;
  EntryKind kind = EntryKind::file;
  FileId id;  // known only where the listing gives it for free
};

// One folder open for the walk. Its full path is the first `length` bytes
// of a trail that the walk shares along the current chain of folders, so a
// deep tree costs no path per level. handle is the platform's (a directory
// descriptor on POSIX, unused on Windows). A folder that could not be opened
// keeps its error.
struct Folder {
  const Text* trail = nullptr;
  std::size_t length = 0;  // of the path, with its trailing delimiter
  int handle = -1;
  ErrorCode error = 0;
  FileId id;
  Folder* parent = nullptr;  // for reopening after a parked descriptor
  Text name;                 // name inside the parent
  bool existed = false;      // Dest: the parent's listing shows this folder
  bool created = false;      // Dest: made by this run, so nothing in it yet

  Text Path() const { return trail->substr(0, length); }  // with its delimiter
};

enum class RemoveMode { recycleBin, permanent };

class System {
 public:
  virtual ~System() = default;

  // --- process ---
  virtual PathRules Rules() const = 0;
  virtual Text CommandLine() = 0;             // Windows: the whole line, to be split
  virtual std::vector<Text> Arguments() = 0;  // POSIX: argv as the shell split it, after argv[0]
  virtual Text ProgramPath() = 0;
  virtual void Write(const char* bytes, std::size_t size) = 0;  // standard output
  // One character of standard input; false at end of input or on failure.
  virtual bool ReadChar(char& c) = 0;
  virtual Text LineEnd() const = 0;
  // A UTF-8 text of the tool turned into the console's encoding.
  virtual Text Localize(const Text& utf8) = 0;
  virtual Text Reason(ErrorCode error) = 0;  // the system's wording

  // --- services of the front end ---
  virtual bool IsWindowsNT() = 0;
  virtual Text CurrentDirectory() = 0;
  virtual Text ExpandEnvironment(const Text& text) = 0;
  virtual Text FullPath(const Text& path) = 0;  // "" when it cannot be made
  virtual Text RealPath(const Text& path) = 0;  // links and aliases resolved; "" on failure
  virtual bool DirectoryExists(const Text& path) = 0;
  virtual bool FileExists(const Text& path) = 0;
  virtual bool MakeDirectory(const Text& path) = 0;  // one level
  virtual FileId Identify(const Text& path) = 0;     // unknown when missing
  virtual bool EqualIgnoringCase(const Text& a, const Text& b) = 0;
  // Windows: locale upper case, then blanks and controls trimmed.
  // POSIX: names are case-sensitive; the text itself.
  virtual Text ComparisonKey(const Text& text) = 0;
  // Source and Dest can hold links to each other (same drive / mount).
  virtual bool SameVolume(const Text& sourceDir, const Text& destDir) = 0;
  // The volume of the path can hold hard links (reports NTFS on Windows).
  virtual bool CanHoldLinks(const Text& path) = 0;
  virtual ErrorCode RemoveTree(const Text& path, RemoveMode mode) = 0;

  // --- the walk ---
  // Opens a Source folder; parent null means folder.path is the root.
  virtual ErrorCode OpenSource(Folder& folder) = 0;
  // Makes the Dest folder when it is missing and opens it. Sets created.
  virtual ErrorCode OpenDest(Folder& folder) = 0;
  virtual void Close(Folder& folder) = 0;
  // Entries matching the mask ("" = every entry), "." and ".." left out,
  // in the platform's order; system entries are filtered out on Windows.
  virtual ErrorCode List(Folder& folder, const Text& mask, std::vector<DirEntry>& entries) = 0;
  // The ids of the names in an existing Dest folder; false when the
  // listing does not give them (the linker then tries each link first).
  virtual bool ListIds(Folder& folder, std::vector<DirEntry>& entries) = 0;
  virtual FileId IdentifyIn(Folder& folder, const Text& name) = 0;
  // New name destName in dest for the existing source entry.
  virtual ErrorCode Link(Folder& source, const Text& name, Folder& dest, const Text& destName) = 0;
  // Links under a temporary name and moves it over destName in one step, so
  // the old file stays whole when anything fails.
  virtual ErrorCode ReplaceWithLink(Folder& source, const Text& name, Folder& dest,
                                    const Text& destName) = 0;
  virtual bool IsExistsError(ErrorCode error) const = 0;
};

// The system of the running platform, made on first use.
System& PlatformSystem(int argc, char** argv);

}  // namespace hardclone

#endif
