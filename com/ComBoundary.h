// The rules by which failures become HRESULTs where a call leaves the library: one helper per kind of boundary.
#pragma once

#include "Exceptions.h"

#include <windows.h>

namespace ComObj {

// Registration: any failure at all answers E_FAIL; nothing is shown.
template <class Work>
HRESULT RegistrationBoundary(Work&& work) noexcept {
  try {
    work();
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

// A call that computes its own result (object creation, the handler's methods): any failure answers
// E_UNEXPECTED, so the host process never sees an exception. The library's own failures are first handed to
// the report (for example a message box); a failing report changes nothing.
template <class Work, class Report>
HRESULT CallBoundary(Work&& work, Report&& report) noexcept {
  try {
    return work();
  } catch (const Exception& failure) {
    try {
      report(failure);
    } catch (...) {
    }
  } catch (...) {
  }
  return E_UNEXPECTED;
}

// A call with nothing to report.
template <class Work>
HRESULT CallBoundary(Work&& work) noexcept {
  return CallBoundary(work, [](const Exception&) {});
}

// The calling thread's last error as an HRESULT, never a success code.
inline HRESULT LastErrorResult() noexcept {
  DWORD error = ::GetLastError();
  return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

}  // namespace ComObj
