#include "app/command_line.h"

namespace hardclone {

std::vector<Text> SplitCommandLine(const Text& commandLine) {
  std::vector<Text> parameters;
  Text current;
  bool quoted = false;
  bool first = true;
  auto finish = [&] {
    if (!current.empty()) {
      if (!first) parameters.push_back(current);
      first = false;
    }
    current.clear();
  };
  for (char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && static_cast<unsigned char>(c) <= 0x20) {
      finish();
    } else {
      current += c;
    }
  }
  finish();
  return parameters;
}

std::vector<Text> Parameters(System& system) {
  if (system.Rules().style == PathStyle::windows) return SplitCommandLine(system.CommandLine());
  std::vector<Text> parameters;
  for (const Text& argument : system.Arguments()) {
    if (!argument.empty()) parameters.push_back(argument);
  }
  return parameters;
}

bool LooksLikeSwitch(PathStyle style, const Text& parameter) {
  if (parameter.empty()) return false;
  return parameter[0] == '-' || (style == PathStyle::windows && parameter[0] == '/');
}

bool HasSwitch(System& system, const std::vector<Text>& parameters, const char* letter) {
  const PathStyle style = system.Rules().style;
  for (const Text& p : parameters) {
    if (LooksLikeSwitch(style, p) && system.EqualIgnoringCase(p.substr(1), letter)) return true;
  }
  return false;
}

Operands SelectOperands(PathStyle style, const std::vector<Text>& parameters) {
  Operands operands;
  const size_t n = parameters.size();
  if (n == 0) {
    operands.code = 1;
  } else if (n == 1) {
    if (LooksLikeSwitch(style, parameters[0])) {
      operands.code = 2;
    } else {
      operands.sources.push_back(parameters[0]);
    }
  } else if (style == PathStyle::windows && n >= 100) {
    operands.code = 2;
  } else if (LooksLikeSwitch(style, parameters[n - 2])) {
    operands.sources.push_back(parameters[n - 1]);
  } else {
    operands.dest = parameters[n - 1];
    operands.destGiven = true;
    if (style == PathStyle::windows) {
      operands.sources.push_back(parameters[n - 2]);
    } else {
      for (size_t i = 0; i + 1 < n; ++i) {
        if (!LooksLikeSwitch(style, parameters[i])) operands.sources.push_back(parameters[i]);
      }
    }
  }
  return operands;
}

}  // namespace hardclone
