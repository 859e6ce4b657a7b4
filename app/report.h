// The outcome of a run as the user sees it: message, version line, usage.
#ifndef HARDCLONE_APP_REPORT_H
#define HARDCLONE_APP_REPORT_H

#include "general/console.h"

namespace hardclone {

// 1 always becomes 99; 2 becomes 99 when usage was asked for (h or ?).
int ConvertCode(int code, bool usageAsked);

// "<program> version1.00"
void WriteVersion(Console& console, const Text& programName);

// The code's message (2-10), an empty line unless the code is 99, then the
// version line and the usage screen.
void Report(System& system, Console& console, const Text& programName, int code);

}  // namespace hardclone

#endif
