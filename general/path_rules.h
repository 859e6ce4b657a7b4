// Lexical path rules. They never touch the disk and take the path style and
// the lead-byte test of the code page as parameters, so the Windows rules are
// tested on any host.
#ifndef HARDCLONE_GENERAL_PATH_RULES_H
#define HARDCLONE_GENERAL_PATH_RULES_H

#include "general/text.h"

namespace hardclone {

enum class PathStyle { windows, posix };

// True for a byte that starts a double-byte character in the code page.
using LeadByteTest = bool (*)(unsigned char);

struct PathRules {
  PathStyle style;
  LeadByteTest isLeadByte;
};

bool IsCp932LeadByte(unsigned char byte);  // 0x81-0x9F, 0xE0-0xFC
bool NoLeadBytes(unsigned char byte);      // single-byte code pages, UTF-8

char Delimiter(const PathRules& rules);  // '\' or '/'

// True when byte i (0-based) is a delimiter of its own, not the second byte of
// a double-byte character: "表" is 0x95 0x5C under code page 932.
bool IsDelimiterAt(const PathRules& rules, const Text& text, size_t i);

// The last character (not byte) is a delimiter. "" => false.
bool EndsWithDelimiter(const PathRules& rules, const Text& text);

// Everything up to and including the last delimiter (or ':' on Windows).
// C:\a\b.txt => C:\a\    C:x => C:    name => ""    /a/b => /a/
Text DirectoryPart(const PathRules& rules, const Text& text);
// The rest. C:\a\b.txt => b.txt    C:x => x
Text NamePart(const PathRules& rules, const Text& text);

// C:\a => C:    \\server\share\dir => \\server\share    \\server\ => \\server
// anything else, and every POSIX path => ""
Text DrivePart(const PathRules& rules, const Text& text);

// C:\a => C:\a\    "" => \    C:\ => C:\ (unchanged)
Text WithTrailingDelimiter(const PathRules& rules, const Text& text);
// C:\ => C:    C:\a\\ => C:\a\    POSIX: / stays /
Text WithoutTrailingDelimiter(const PathRules& rules, const Text& text);

// C:\dir.x\tool.exe => C:\dir.x\tool    a.b.c => a.b    C:\x.y\z => C:\x.y\z
Text NameWithoutExtension(const PathRules& rules, const Text& text);

// Cuts at the first ':' from the fourth character on.
// C:\dir\file:stream => C:\dir\file    abc:d => abc    ab:c => ab:c
Text CutAtLaterColon(const Text& path);

// Folder text joined with a name: the folder gets its delimiter first.
Text JoinPath(const PathRules& rules, const Text& folder, const Text& name);

// POSIX: the absolute path with "." and ".." resolved by text alone, runs of
// '/' folded and no trailing '/'; the root stays "/". Relative paths are taken
// from cwd. a/../b (cwd /x) => /x/b    /.. => /
Text LexicalFullPath(const Text& path, const Text& cwd);

}  // namespace hardclone

#endif
