#include "general/console.h"

namespace hardclone {

void Console::Line(const Text& text) { Raw(text + system_.LineEnd()); }

void Console::Raw(const Text& text) {
  buffer_ += text;
  if (buffer_.size() >= kLimit) Flush();
}

void Console::Flush() {
  if (buffer_.empty()) return;
  system_.Write(buffer_.data(), buffer_.size());
  buffer_.clear();
}

}  // namespace hardclone
