#include "general/path_rules.h"

#include <vector>

namespace hardclone {

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool NoLeadBytes(unsigned char) { return false; }

char Delimiter(const PathRules& rules) { return rules.style == PathStyle::windows ? '\\' : '/'; }

namespace {

// A byte is the second byte of a double-byte character when the run of
// lead-range bytes directly before it has odd length.
bool IsSecondByte(const PathRules& rules, const Text& text, size_t i) {
  size_t run = 0;
  while (run < i && rules.isLeadByte(static_cast<unsigned char>(text[i - run - 1]))) ++run;
  return run % 2 == 1;
}

bool IsPartEnd(const PathRules& rules, const Text& text, size_t i) {
  if (IsDelimiterAt(rules, text, i)) return true;
  return rules.style == PathStyle::windows && text[i] == ':' && !IsSecondByte(rules, text, i);
}

// Index just after the last delimiter (or ':'), 0 when there is none.
size_t NameStart(const PathRules& rules, const Text& text) {
  for (size_t i = text.size(); i > 0; --i) {
    if (IsPartEnd(rules, text, i - 1)) return i;
  }
  return 0;
}

}  // namespace

bool IsDelimiterAt(const PathRules& rules, const Text& text, size_t i) {
  return i < text.size() && text[i] == Delimiter(rules) && !IsSecondByte(rules, text, i);
}

bool EndsWithDelimiter(const PathRules& rules, const Text& text) {
  return !text.empty() && IsDelimiterAt(rules, text, text.size() - 1);
}

Text DirectoryPart(const PathRules& rules, const Text& text) {
  return text.substr(0, NameStart(rules, text));
}

Text NamePart(const PathRules& rules, const Text& text) {
  return text.substr(NameStart(rules, text));
}

Text DrivePart(const PathRules& rules, const Text& text) {
  if (rules.style != PathStyle::windows) return Text();
  if (text.size() >= 2 && text[1] == ':') return text.substr(0, 2);
  if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') {
    int seen = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      if (IsDelimiterAt(rules, text, i) && ++seen == 2) return text.substr(0, i);
    }
    return WithoutTrailingDelimiter(rules, text);
  }
  return Text();
}

Text WithTrailingDelimiter(const PathRules& rules, const Text& text) {
  return EndsWithDelimiter(rules, text) ? text : text + Delimiter(rules);
}

Text WithoutTrailingDelimiter(const PathRules& rules, const Text& text) {
  if (!EndsWithDelimiter(rules, text)) return text;
  if (rules.style == PathStyle::posix && text == "/") return text;
  return text.substr(0, text.size() - 1);
}

Text NameWithoutExtension(const PathRules& rules, const Text& text) {
  size_t start = NameStart(rules, text);
  size_t dot = text.rfind('.');
  if (dot == Text::npos || dot < start) return text;
  return text.substr(0, dot);
}

Text CutAtLaterColon(const Text& path) {
  if (path.size() < 4) return path;
  size_t colon = path.find(':', 3);
  return colon == Text::npos ? path : path.substr(0, colon);
}

Text JoinPath(const PathRules& rules, const Text& folder, const Text& name) {
  return WithTrailingDelimiter(rules, folder) + name;
}

Text LexicalFullPath(const Text& path, const Text& cwd) {
  Text whole = (!path.empty() && path[0] == '/') ? path : cwd + "/" + path;
  std::vector<Text> parts;
  size_t i = 0;
  while (i <= whole.size()) {
    size_t slash = whole.find('/', i);
    if (slash == Text::npos) slash = whole.size();
    Text part = whole.substr(i, slash - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = slash + 1;
  }
  Text result;
  for (const Text& part : parts) result += "/" + part;
  return result.empty() ? Text("/") : result;
}

}  // namespace hardclone
