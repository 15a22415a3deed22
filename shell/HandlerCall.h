// The handler methods' boundary rule: they compute their own results, and whatever escapes becomes E_UNEXPECTED.
#pragma once

#include <windows.h>

namespace ContextM {

template <class Operation>
HRESULT HandlerCall(Operation operation) noexcept {
  try {
    return operation();
  } catch (...) {
    // A registry failure or exhausted memory; the host process must never see an exception.
    return E_UNEXPECTED;
  }
}

// The calling thread's last error as an HRESULT, never a success code.
inline HRESULT LastErrorResult() noexcept {
  DWORD error = ::GetLastError();
  return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

}  // namespace ContextM
