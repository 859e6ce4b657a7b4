// Removing an existing Dest on POSIX: into the FreeDesktop trash, or for good
// by a walk that never follows a symbolic link.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <gio/gio.h>  // types only: GIO is loaded when the trash is first used
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

// GIO's trash, loaded on demand: a run that never trashes anything does not
// pay for mapping GLib.
struct Gio {
  decltype(&g_file_new_for_path) newForPath = nullptr;
  decltype(&g_file_trash) trash = nullptr;
  decltype(&g_object_unref) unref = nullptr;
  decltype(&g_error_free) freeError = nullptr;
};

template <typename F>
bool Bind(void* library, const char* name, F& function) {
  function = reinterpret_cast<F>(dlsym(library, name));
  return function != nullptr;
}

const Gio* LoadGio() {
  static Gio gio;
  static bool tried = false;
  if (!tried) {
    tried = true;
    void* library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    if (!Bind(library, "g_file_new_for_path", gio.newForPath) ||
        !Bind(library, "g_file_trash", gio.trash) || !Bind(library, "g_object_unref", gio.unref) ||
        !Bind(library, "g_error_free", gio.freeError)) {
      gio.trash = nullptr;
    }
  }
  return gio.trash != nullptr ? &gio : nullptr;
}

}  // namespace

ErrorCode PosixSystem::RemoveTree(const Text& path, RemoveMode mode) {
  if (mode == RemoveMode::permanent) return RemoveAt(AT_FDCWD, path.c_str());
  // Never fall back to deleting: a failed trash leaves Dest as it was.
  const Gio* gio = LoadGio();
  if (gio == nullptr) {
    trashReason_ = "cannot load libgio-2.0.so.0";
    return kTrashFailed;
  }
  GFile* file = gio->newForPath(path.c_str());
  GError* error = nullptr;
  gboolean done = gio->trash(file, nullptr, &error);
  gio->unref(file);
  if (done) return 0;
  trashReason_ = error != nullptr ? error->message : "trash failed";
  if (error != nullptr) gio->freeError(error);
  return kTrashFailed;
}

}  // namespace hardclone
