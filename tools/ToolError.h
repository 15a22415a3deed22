// A tool's failure, carrying the exit code of the tool's own table that scripts and installers can test.
#pragma once

#include <stdexcept>
#include <string>

namespace Tools {

template <class ExitCode>
class EToolError : public std::runtime_error {
public:
  EToolError(ExitCode code, const std::string& message) : std::runtime_error(message), FCode(code) {}
  ExitCode Code() const noexcept { return FCode; }

private:
  ExitCode FCode;
};

}  // namespace Tools
