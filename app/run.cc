#include "app/run.h"

#include <string>
#include <vector>

#include "app/checks.h"
#include "app/command_line.h"
#include "app/operands.h"
#include "app/report.h"
#include "app/texts.h"
#include "general/console.h"
#include "general/tree_linker.h"

namespace hardclone {

namespace {

// Makes the folder and every missing folder above it, outermost first. On
// Windows a text under three characters ("C:", "\\") counts as made; a POSIX
// name that short ("/x") is an ordinary folder.
bool MakeChain(System& system, const Text& path) {
  const PathRules rules = system.Rules();
  const Text folder = WithoutTrailingDelimiter(rules, path);
  const Text parent = DirectoryPart(rules, folder);
  const size_t shortest = rules.style == PathStyle::windows ? 3 : 2;
  if (folder.size() < shortest || system.DirectoryExists(folder) || folder == parent) return true;
  return MakeChain(system, parent) && system.MakeDirectory(folder);
}

// Resolves and checks every job before any work; 0, a report code, or
// kExitCancelled.
int Prepare(System& system, Console& console, const std::vector<Text>& parameters,
            std::vector<Job>& jobs) {
  const Operands operands = SelectOperands(system.Rules().style, parameters);
  if (operands.code != 0) return operands.code;
  for (const Text& parameter : operands.sources) {
    Job job;
    int code = ResolveSource(system, parameter, job.source);
    if (code != 0) return code;
    jobs.push_back(job);
  }
  const Text work = DestText(system, operands.dest, operands.destGiven);
  const bool intoFolder = jobs.size() > 1;
  const bool clearing = HasSwitch(system, parameters, "c") || HasSwitch(system, parameters, "d");
  for (Job& job : jobs) {
    if (!PlaceDest(system, console, work, operands.destGiven, intoFolder, job)) {
      return kExitCancelled;
    }
    int code = CheckJob(system, job, clearing);
    if (code != 0) return code;
  }
  return 0;
}

int Dispatch(System& system, Console& console, const std::vector<Text>& parameters,
             const std::vector<Job>& jobs) {
  const bool recycle = HasSwitch(system, parameters, "c");
  const bool permanent = HasSwitch(system, parameters, "d");
  LinkContext context{system, console, system.Localize(kFailure)};
  int failures = 0;
  for (const Job& job : jobs) {
    if (!system.DirectoryExists(job.destDir)) {
      MakeChain(system, job.destDir);
    } else if (job.source.isDirectory && (recycle || permanent)) {
      ErrorCode error = system.RemoveTree(
          job.destDir, recycle ? RemoveMode::recycleBin : RemoveMode::permanent);
      if (error != 0) {
        ReportFailure(context, job.destDir, error);
        ++failures;
      }
    }
    failures += LinkTree(context, job.source.dir, job.destDir, job.source.name, job.destName,
                         job.source.isDirectory);
  }
  if (failures == 0) return 0;
  console.Line(Format(system.Localize(kFailureCount), {std::to_string(failures)}));
  return kExitFailures;
}

}  // namespace

int Run(System& system) {
  Console console(system);
  const PathRules rules = system.Rules();
  const Text programName = NameWithoutExtension(rules, NamePart(rules, system.ProgramPath()));
  const std::vector<Text> parameters = Parameters(system);
  std::vector<Job> jobs;
  int code = system.IsWindowsNT() ? Prepare(system, console, parameters, jobs) : 7;
  if (code == kExitCancelled) {
    console.Line(system.Localize(kCancelled));
    return code;
  }
  if (code == 0) {
    Verbose = HasSwitch(system, parameters, "v");
    if (Verbose) WriteVersion(console, programName);
    return Dispatch(system, console, parameters, jobs);
  }
  const bool usageAsked = HasSwitch(system, parameters, "h") || HasSwitch(system, parameters, "?");
  code = ConvertCode(code, usageAsked);
  Report(system, console, programName, code);
  return code;
}

}  // namespace hardclone
