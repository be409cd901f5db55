#pragma once
// An example request file's commands with their expected answers, read as kelvanor-cli reads them.
#include <string>
#include <string_view>
#include <vector>

#include "cli/RequestSteps.h"

// Every step; a malformed file gives the reader's fault in error.
inline std::vector<cli::RequestStep> Steps(const std::string& bytes, std::string& error) {
  cli::RequestStepReader reader{std::string_view(bytes)};
  std::vector<cli::RequestStep> steps;
  for (cli::RequestStep step; reader.Next(step);) steps.push_back(step);
  error = reader.Error();
  return steps;
}
