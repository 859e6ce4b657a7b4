#include "general/text.h"

namespace hardclone {

Text Format(const Text& pattern, std::initializer_list<Text> values) {
  Text result;
  auto next = values.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    bool slot = pattern[i] == '%' && i + 1 < pattern.size() &&
                (pattern[i + 1] == 's' || pattern[i + 1] == 'd');
    if (slot && next != values.end()) {
      result += *next++;
      ++i;
    } else {
      result += pattern[i];
    }
  }
  return result;
}

bool HasWildcard(const Text& text) {
  return text.find_first_of("?*") != Text::npos;
}

Text TrimBlanks(const Text& text) {
  size_t first = 0;
  while (first < text.size() && static_cast<unsigned char>(text[first]) <= 0x20) ++first;
  size_t last = text.size();
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) --last;
  return text.substr(first, last - first);
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace hardclone
