// The four functions through which COM and registration tools reach the library; the DLL exports them.
#pragma once

#include <windows.h>

namespace ComServ {

// The class object for a class id, from every server's factories; null in out on every failure.
HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** out) noexcept;
// S_OK while no object, server lock or factory reference is alive.
HRESULT STDAPICALLTYPE DllCanUnloadNow() noexcept;
// Write or remove the entries of every registered class of ModuleServer; any failure answers E_FAIL.
HRESULT STDAPICALLTYPE DllRegisterServer() noexcept;
HRESULT STDAPICALLTYPE DllUnregisterServer() noexcept;

}  // namespace ComServ
