#include "app/report.h"

#include "app/texts.h"

namespace hardclone {

int ConvertCode(int code, bool usageAsked) {
  if (code == 1 || (code == 2 && usageAsked)) return 99;
  return code;
}

void WriteVersion(Console& console, const Text& programName) {
  console.Line(programName + kVersion);
}

void Report(System& system, Console& console, const Text& programName, int code) {
  const Text message = MessageOf(code);
  if (!message.empty()) console.Line(system.Localize(message));
  if (code != 99) console.Line("");
  WriteVersion(console, programName);
  for (const char* line : UsageLines()) {
    console.Line(Format(system.Localize(line), {programName}));
  }
}

}  // namespace hardclone
