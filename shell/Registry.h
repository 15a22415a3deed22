// TRegistry: reads string values of one key under a root, for the handler's options.
#pragma once

#include "com/Exceptions.h"
#include "win32/Handles.h"

#include <string>

namespace ContextM {

class ERegistryException : public ComObj::Exception {
public:
  using Exception::Exception;
};

class TRegistry {
public:
  TRegistry() noexcept = default;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // Opens a path relative to the root for reading only, never creating it; false leaves no key open.
  bool OpenKey(const std::string& path);
  // The empty text when the value or the key is missing; raises ERegistryException for other types.
  std::string ReadString(const std::string& name) const;
  void CloseKey() noexcept { FCurrentKey.reset(); }

private:
  HKEY FRootKey = HKEY_CURRENT_USER;  // predefined: never closed
  Win32::TRegKey FCurrentKey;
};

}  // namespace ContextM
