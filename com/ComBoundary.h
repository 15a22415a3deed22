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

// Object creation: any failure answers E_UNEXPECTED. The library's own failures are first handed to the
// report (for example a message box); a failing report changes nothing.
template <class Work, class Report>
HRESULT CreationBoundary(Work&& work, Report&& report) noexcept {
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

// Object creation with nothing to report.
template <class Work>
HRESULT CreationBoundary(Work&& work) noexcept {
  return CreationBoundary(work, [](const Exception&) {});
}

}  // namespace ComObj
