// The suite's real options key under HKEY_CURRENT_USER, as the tests and the benchmark set it for a run.
#pragma once

#include <windows.h>

#include <string>

namespace Tools {

// Deleted at construction and destruction, so that only the values set through it are there in between.
class TOptionsKey {
public:
  TOptionsKey();
  ~TOptionsKey();

  // Each raises std::runtime_error when the key or the value cannot be written.
  void SetString(const char* name, const std::string& value, DWORD type = REG_SZ);
  void SetBytes(const char* name, const void* data, DWORD size, DWORD type);
  void SetDword(const char* name, DWORD value);
  static void Delete();

  TOptionsKey(const TOptionsKey&) = delete;
  TOptionsKey& operator=(const TOptionsKey&) = delete;
};

}  // namespace Tools
