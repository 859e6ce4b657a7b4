// The tree linker: rebuilds a Source folder under Dest with real folders and
// gives every matching file a second name there by a hard link.
#ifndef HARDCLONE_GENERAL_TREE_LINKER_H
#define HARDCLONE_GENERAL_TREE_LINKER_H

#include "general/console.h"
#include "general/system.h"

namespace hardclone {

// Trace switch of the utility unit; set once by the front end before linking.
extern bool Verbose;

struct LinkContext {
  System& system;
  Console& console;
  Text failureLine;  // "...%s (%s)": the failed path and the system's reason
};

// Writes the failure line for path with the system's reason for error.
void ReportFailure(LinkContext& context, const Text& path, ErrorCode error);

// Links the files of sourceFolder (every entry when recursive, else those
// matching nameOrMask) into destFolder, under destName when it is not empty.
// Recursive: descends depth first, rebuilding each folder, but never into
// destFolder itself. Goes on past a failed item; returns how many failed,
// each reported with one failure line.
int LinkTree(LinkContext& context, const Text& sourceFolder, const Text& destFolder,
             const Text& nameOrMask, const Text& destName, bool recursive);

}  // namespace hardclone

#endif
