// One run of the tool, from the parameter list to the exit code.
#ifndef HARDCLONE_APP_RUN_H
#define HARDCLONE_APP_RUN_H

#include "general/system.h"

namespace hardclone {

// Exit codes besides the report codes 2-10 and 99.
constexpr int kExitCancelled = -1;
constexpr int kExitFailures = 11;

int Run(System& system);

}  // namespace hardclone

#endif
