// The frame's failure vocabulary: the exception classes and the conversion of failed HRESULTs into them.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace ComObj {

// Root of every failure the library raises.
class Exception : public std::exception {
public:
  explicit Exception(std::string message, int helpContext = 0)
      : FMessage(std::move(message)), FHelpContext(helpContext) {}

  const char* what() const noexcept override { return FMessage.c_str(); }
  const std::string& Message() const noexcept { return FMessage; }
  int HelpContext() const noexcept { return FHelpContext; }

private:
  std::string FMessage;
  int FHelpContext;
};

// Base of the COM frame's failures.
class EOleError : public Exception {
public:
  using Exception::Exception;
};

// A failure that stands for an HRESULT.
class EOleSysError : public EOleError {
public:
  EOleSysError(const std::string& message, HRESULT resultCode, int helpContext);
  HRESULT FResultCode;
};

// The platform's message for a code, without trailing blanks, control characters and full stops.
std::string SystemErrorText(HRESULT code);

[[noreturn]] void RaiseOleError(HRESULT code);

inline void CheckOleResult(HRESULT code) {
  if (FAILED(code)) RaiseOleError(code);
}

}  // namespace ComObj
