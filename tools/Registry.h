// The registry as the tools and the tests use it: HKEY_CLASSES_ROOT redirected, a tree walked, a class looked up.
#pragma once

#include "win32/Handles.h"

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace Tools {

// A registry call that failed: which step, and the registry's status.
class ERegistryError : public std::runtime_error {
public:
  ERegistryError(LONG status, const std::string& step);
  LONG Status() const noexcept { return FStatus; }
  const std::string& Step() const noexcept { return FStep; }

private:
  LONG FStatus;
  std::string FStep;
};

// A scratch key is deleted before and after; a kept one, such as the user's own classes, stays.
enum class TRedirectedKey { rkKept, rkScratch };

// While it lives, HKEY_CLASSES_ROOT of this process is HKEY_CURRENT_USER\<path>: every write there, a loaded
// library's registration too, lands in that key, without administrator rights. Raises ERegistryError.
class TClassesRootRedirection {
public:
  TClassesRootRedirection(std::wstring path, TRedirectedKey kind);
  ~TClassesRootRedirection();
  TClassesRootRedirection(const TClassesRootRedirection&) = delete;
  TClassesRootRedirection& operator=(const TClassesRootRedirection&) = delete;

  HKEY Key() const noexcept { return FKey.get(); }

private:
  std::wstring FPath;
  TRedirectedKey FKind;
  Win32::TRegKey FKey;
};

// The names of a key's direct subkeys, as far as they can be read.
std::vector<std::wstring> SubkeyNames(HKEY key);

// Calls visit for the key (path "") and every key below it, parents first, with the path relative to it.
// Raises ERegistryError for a subkey that cannot be opened for reading.
void WalkRegistryTree(HKEY key, const std::function<void(HKEY key, const std::wstring& path)>& visit);

// Whether HKEY_CLASSES_ROOT names an in-process server for the class.
bool IsClassRegistered(const CLSID& classId);

}  // namespace Tools
