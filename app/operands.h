// Resolving the operands into folders and names.
#ifndef HARDCLONE_APP_OPERANDS_H
#define HARDCLONE_APP_OPERANDS_H

#include "general/console.h"
#include "general/system.h"

namespace hardclone {

struct Source {
  Text dir;   // full path, no trailing delimiter
  Text name;  // file name or mask; "" for a folder
  bool isDirectory = false;
  bool hasWildcard = false;
};

// One linking job: a resolved Source and where its links go.
struct Job {
  Source source;
  Text destDir;   // full path, no trailing delimiter
  Text destName;  // "" keeps each Source file's name
};

// Expands, makes a full path and classifies the Source parameter. Returns 0,
// 3 (the mask's folder is missing) or 4 (nothing there).
int ResolveSource(System& system, const Text& parameter, Source& source);

// The Dest text: one trailing delimiter removed, expanded, made a full path;
// the current directory when Dest was omitted.
Text DestText(System& system, const Text& parameter, bool given);

enum class DestKind { folder, file, cancelled };

// Whether a given Dest is a folder or a file for a file or mask Source,
// asking the user when nothing else tells.
DestKind ClassifyDest(System& system, Console& console, const Source& source, const Text& work);

// Fills job.destDir and job.destName. Returns false when the user cancelled.
// intoFolder: several Sources, so Dest is a folder and a folder Source is
// rebuilt under Dest/<its name>.
bool PlaceDest(System& system, Console& console, const Text& work, bool given, bool intoFolder,
               Job& job);

}  // namespace hardclone

#endif
