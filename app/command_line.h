// The parameter list: splitting a command line, the switch test and the
// choice of the operands.
#ifndef HARDCLONE_APP_COMMAND_LINE_H
#define HARDCLONE_APP_COMMAND_LINE_H

#include <vector>

#include "general/system.h"

namespace hardclone {

// Splits a whole command line: characters up to 0x20 separate parameters,
// double quotes switch grouping on and off anywhere and are removed, empty
// parameters do not count. Parameter 0 (the program) is left out.
// prog "a b"c d => [a bc, d]
std::vector<Text> SplitCommandLine(const Text& commandLine);

// The parameter list: the Windows command line split by the rule above, or
// the POSIX argv; empty parameters do not count.
std::vector<Text> Parameters(System& system);

// Begins like a switch: '-' or '/' on Windows, '-' only on POSIX, where a
// leading '/' is an absolute path.
bool LooksLikeSwitch(PathStyle style, const Text& parameter);

// Switch `letter` is present when some parameter looks like a switch and the
// rest of it equals the letter ignoring case: -v and /V match "v"; -vx does not.
bool HasSwitch(System& system, const std::vector<Text>& parameters, const char* letter);

struct Operands {
  int code = 0;               // 0, or 1 (no parameters) or 2 (no usable Source)
  std::vector<Text> sources;  // one, except on POSIX after shell expansion
  Text dest;
  bool destGiven = false;
};

// Picks Source and Dest from the end of the list. Windows: only the last two
// parameters count, and 100 or more parameters take no operand. POSIX: every
// parameter before the last that is not a switch is a Source, as the shell
// expands src/*.txt into many.
Operands SelectOperands(PathStyle style, const std::vector<Text>& parameters);

}  // namespace hardclone

#endif
