// Validation of a job before any work is done.
#ifndef HARDCLONE_APP_CHECKS_H
#define HARDCLONE_APP_CHECKS_H

#include "app/operands.h"

namespace hardclone {

// Same place: equal comparison keys, or one folder or file by identity
// whatever the spelling (links, junctions, aliases of a drive or share).
bool SamePlace(System& system, const Text& a, const Text& b);

// inner is outer or lies somewhere below it, by real location.
bool LiesWithin(System& system, const Text& inner, const Text& outer);

// The checks in order: drives (5), a volume that holds links (6), the same
// folder (8) or file (9), and with a clearing switch a Dest whose removal
// would reach the Source (10). 0 when the job may run.
int CheckJob(System& system, const Job& job, bool clearing);

}  // namespace hardclone

#endif
