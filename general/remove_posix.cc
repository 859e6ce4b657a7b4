// Removing an existing Dest on POSIX: into the FreeDesktop trash, or for good
// by a walk that never follows a symbolic link.
#include <dirent.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "general/system_posix.h"

namespace hardclone {

namespace {

// Removes name inside the open folder at, whatever it is; a symbolic link
// is removed itself.
int RemoveAt(int at, const char* name) {
  if (unlinkat(at, name, 0) == 0) return 0;
  if (errno != EISDIR && errno != EPERM) return errno;
  int fd = openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return errno;
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    int error = errno;
    close(fd);
    return error;
  }
  std::vector<std::string> names;
  while (struct dirent* d = readdir(dir)) {
    const std::string entry = d->d_name;
    if (entry != "." && entry != "..") names.push_back(entry);
  }
  int error = 0;
  for (const std::string& entry : names) {
    int failed = RemoveAt(dirfd(dir), entry.c_str());
    if (error == 0) error = failed;
  }
  closedir(dir);
  if (error != 0) return error;
  return unlinkat(at, name, AT_REMOVEDIR) == 0 ? 0 : errno;
}

}  // namespace

ErrorCode PosixSystem::RemoveTree(const Text& path, RemoveMode mode) {
  if (mode == RemoveMode::permanent) return RemoveAt(AT_FDCWD, path.c_str());
  // Never fall back to deleting: a failed trash leaves Dest as it was.
  GFile* file = g_file_new_for_path(path.c_str());
  GError* error = nullptr;
  gboolean done = g_file_trash(file, nullptr, &error);
  g_object_unref(file);
  if (done) return 0;
  trashReason_ = error != nullptr ? error->message : "trash failed";
  if (error != nullptr) g_error_free(error);
  return kTrashFailed;
}

}  // namespace hardclone
