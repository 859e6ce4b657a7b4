// The walk on Windows works on full paths; the folders hold no handles.
#include <windows.h>

#include <string>

#include "general/system_win32.h"

namespace hardclone {

namespace {

// System entries, and those with the 0x08 bit, are never seen by the walk.
constexpr DWORD kHidden = FILE_ATTRIBUTE_SYSTEM | 0x08;

HANDLE FindFirst(const Text& pattern, WIN32_FIND_DATAA& data) {
  // The basic level and large fetch list faster; older systems refuse them.
  HANDLE search = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) {
    search = FindFirstFileA(pattern.c_str(), &data);
  }
  return search;
}

}  // namespace

ErrorCode Win32System::OpenSource(Folder&) { return 0; }

ErrorCode Win32System::OpenDest(Folder& folder) {
  const Text path = WithoutTrailingDelimiter(Rules(), folder.Path());
  if (!DirectoryExists(folder.Path())) {
    if (!CreateDirectoryA(path.c_str(), nullptr)) return folder.error = static_cast<ErrorCode>(GetLastError());
    folder.created = true;
  }
  if (folder.parent == nullptr) folder.id = Identify(folder.Path());
  return 0;
}

ErrorCode Win32System::List(Folder& folder, const Text& mask, std::vector<DirEntry>& entries) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirst(folder.Path() + (mask.empty() ? Text("*.*") : mask), data);
  if (search == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    // Nothing matched is no failure, unless one named file was asked for.
    if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) &&
        (mask.empty() || HasWildcard(mask))) {
      return 0;
    }
    return static_cast<ErrorCode>(error);
  }
  do {
    const Text name = data.cFileName;
    if ((data.dwFileAttributes & kHidden) != 0 || name == "." || name == "..") continue;
    DirEntry entry;
    entry.name = name;
    entry.kind = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::folder : EntryKind::file;
    entries.push_back(entry);
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return 0;
}

FileId Win32System::IdentifyIn(Folder& folder, const Text& name) { return Identify(folder.Path() + name); }

ErrorCode Win32System::Link(Folder& source, const Text& name, Folder& dest, const Text& destName) {
  if (dest.error != 0) return dest.error;
  const Text target = dest.Path() + destName;
  const Text existing = source.Path() + name;
  if (CreateHardLinkA(target.c_str(), existing.c_str(), nullptr)) return 0;
  return static_cast<ErrorCode>(GetLastError());
}

ErrorCode Win32System::ReplaceWithLink(Folder& source, const Text& name, Folder& dest,
                                       const Text& destName) {
  const Text target = dest.Path() + destName;
  // A move replaces a read-only file where a deletion could not: such a
  // file stays, as it always did.
  DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return ERROR_ACCESS_DENIED;
  }
  const Text existing = source.Path() + name;
  const Text stem = dest.Path() + ".hardclone-" + std::to_string(GetCurrentProcessId()) + "-";
  Text temp;
  DWORD error = ERROR_ALREADY_EXISTS;
  for (int tries = 0; tries < 100 && IsExistsError(static_cast<ErrorCode>(error)); ++tries) {
    temp = stem + std::to_string(tempCounter_++);
    error = CreateHardLinkA(temp.c_str(), existing.c_str(), nullptr) ? 0 : GetLastError();
  }
  if (error != 0) return static_cast<ErrorCode>(error);
  if (!MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) error = GetLastError();
  // Also after success: the move changes nothing when both names already
  // were the same file, and the temporary name must not stay behind.
  DeleteFileA(temp.c_str());
  return static_cast<ErrorCode>(error);
}

bool Win32System::IsExistsError(ErrorCode error) const {
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

}  // namespace hardclone
