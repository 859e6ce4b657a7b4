// Buffered standard output: the trace of a big tree costs one write per many
// lines. Flushed before the question and at the end of the run.
#ifndef HARDCLONE_GENERAL_CONSOLE_H
#define HARDCLONE_GENERAL_CONSOLE_H

#include "general/system.h"

namespace hardclone {

class Console {
 public:
  explicit Console(System& system) : system_(system) {}
  ~Console() { Flush(); }
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  void Line(const Text& text);  // text and the platform's line end
  void Raw(const Text& text);   // no line end
  void Flush();

 private:
  static constexpr std::size_t kLimit = 64 * 1024;
  System& system_;
  Text buffer_;
};

}  // namespace hardclone

#endif
