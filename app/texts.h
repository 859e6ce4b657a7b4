// Every text the tool shows, written once here in UTF-8. The console layer
// turns them into its encoding (code page 932 bytes on Windows).
#ifndef HARDCLONE_APP_TEXTS_H
#define HARDCLONE_APP_TEXTS_H

#include <vector>

#include "general/text.h"

namespace hardclone {

// The message of a result code 2-10, "" for the others.
const char* MessageOf(int code);

extern const char* const kCancelled;
extern const char* const kQuestionTarget;  // %s: the full Dest path
extern const char* const kQuestionChoice;  // no line end
extern const char* const kFailure;         // %s: path, %s: the system's reason
extern const char* const kFailureCount;    // %d: failed items
extern const char* const kVersion;         // after the program name

// The usage screen, one entry a line; %s is the program name.
const std::vector<const char*>& UsageLines();

}  // namespace hardclone

#endif
