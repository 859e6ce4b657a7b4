#include "app/checks.h"

namespace hardclone {

bool SamePlace(System& system, const Text& a, const Text& b) {
  if (system.ComparisonKey(a) == system.ComparisonKey(b)) return true;
  return SameFile(system.Identify(a), system.Identify(b));
}

bool LiesWithin(System& system, const Text& inner, const Text& outer) {
  const PathRules rules = system.Rules();
  const FileId target = system.Identify(outer);
  if (!target.known) return false;
  Text path = system.RealPath(inner);
  while (!path.empty()) {
    if (SameFile(system.Identify(path), target)) return true;
    Text up = WithoutTrailingDelimiter(rules, DirectoryPart(rules, WithoutTrailingDelimiter(rules, path)));
    if (up == path) break;
    path = up;
  }
  return false;
}

namespace {

bool SameFileSpot(System& system, const Job& job) {
  const Source& s = job.source;
  if (job.destName.empty()) return true;
  if (system.ComparisonKey(job.destName) == system.ComparisonKey(s.name)) return true;
  if (s.hasWildcard) return false;
  const PathRules rules = system.Rules();
  return SameFile(system.Identify(JoinPath(rules, s.dir, s.name)),
                  system.Identify(JoinPath(rules, job.destDir, job.destName)));
}

}  // namespace

int CheckJob(System& system, const Job& job, bool clearing) {
  const Source& s = job.source;
  if (!system.SameVolume(s.dir, job.destDir)) return 5;
  if (!system.CanHoldLinks(s.dir)) return 6;
  const bool sameFolder = SamePlace(system, s.dir, job.destDir);
  if (s.isDirectory && sameFolder) return 8;
  if (!s.isDirectory && sameFolder && SameFileSpot(system, job)) return 9;
  if (s.isDirectory && clearing && system.DirectoryExists(job.destDir) &&
      (LiesWithin(system, s.dir, job.destDir) || LiesWithin(system, job.destDir, s.dir))) {
    return 10;
  }
  return 0;
}

}  // namespace hardclone

