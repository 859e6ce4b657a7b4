#include "app/operands.h"

#include "app/texts.h"

namespace hardclone {

int ResolveSource(System& system, const Text& parameter, Source& source) {
  const PathRules rules = system.Rules();
  const Text work = system.FullPath(system.ExpandEnvironment(parameter));
  if (system.DirectoryExists(work)) {
    source.dir = WithoutTrailingDelimiter(rules, work);
    source.isDirectory = true;
    return 0;
  }
  const Text folder = DirectoryPart(rules, work);
  source.dir = WithoutTrailingDelimiter(rules, folder);
  source.name = NamePart(rules, work);
  if (HasWildcard(source.name)) {
    source.hasWildcard = true;
    return system.DirectoryExists(folder) ? 0 : 3;
  }
  return system.FileExists(work) ? 0 : 4;
}

Text DestText(System& system, const Text& parameter, bool given) {
  const PathRules rules = system.Rules();
  Text work = WithoutTrailingDelimiter(rules, given ? parameter : system.CurrentDirectory());
  return system.FullPath(system.ExpandEnvironment(work));
}

namespace {

DestKind Ask(System& system, Console& console, const Text& work) {
  console.Line(Format(system.Localize(kQuestionTarget), {work}));
  console.Raw(system.Localize(kQuestionChoice));
  console.Flush();
  for (;;) {
    char c = 26;  // end of input and read failures count as Ctrl-Z
    if (!system.ReadChar(c)) c = 26;
    c = AsciiUpper(c);
    if (c == 'F') return DestKind::file;
    if (c == 'D') return DestKind::folder;
    if (c == 'C' || c == 26) return DestKind::cancelled;
    console.Raw("\b");
    console.Flush();
  }
}

}  // namespace

DestKind ClassifyDest(System& system, Console& console, const Source& source, const Text& work) {
  if (source.hasWildcard || system.DirectoryExists(work)) return DestKind::folder;
  if (EndsWithDelimiter(system.Rules(), work)) return DestKind::folder;
  if (system.FileExists(work)) return DestKind::file;
  return Ask(system, console, work);
}

bool PlaceDest(System& system, Console& console, const Text& work, bool given, bool intoFolder,
               Job& job) {
  const PathRules rules = system.Rules();
  const Source& source = job.source;
  DestKind kind = DestKind::folder;
  if (intoFolder) {
    if (source.isDirectory) {
      job.destDir = JoinPath(rules, work, NamePart(rules, source.dir));
      return true;
    }
  } else if (!source.isDirectory && given) {
    kind = ClassifyDest(system, console, source, work);
  }
  if (kind == DestKind::cancelled) return false;
  if (kind == DestKind::file) {
    job.destDir = WithoutTrailingDelimiter(rules, DirectoryPart(rules, work));
    job.destName = NamePart(rules, work);
  } else {
    job.destDir = WithoutTrailingDelimiter(rules, work);
    if (!given && !source.isDirectory && !source.hasWildcard) job.destName = source.name;
  }
  return true;
}

}  // namespace hardclone
