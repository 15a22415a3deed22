// A folder of the benchmark's own for selections of existing files and folders, removed with all it holds.
#pragma once

#include "win32/Handles.h"

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace Bench {

class TScratchFolder {
public:
  TScratchFolder()
      : FPath(std::filesystem::temp_directory_path() / ("tarnctx-bench-" + std::to_string(::GetCurrentProcessId()))) {
    std::filesystem::create_directories(FPath);
  }
  ~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  // Existing files (or folders) named prefix + number + extension, in a subfolder of their own; their full paths.
  std::vector<std::wstring> Make(const wchar_t* subfolder, const wchar_t* prefix, const wchar_t* extension,
                                 std::size_t count, bool folders) const {
    std::filesystem::path parent = FPath / subfolder;
    std::filesystem::create_directories(parent);
    std::vector<std::wstring> paths;
    for (std::size_t i = 0; i < count; ++i) {
      std::filesystem::path path = parent / (prefix + std::to_wstring(i) + extension);
      if (folders)
        std::filesystem::create_directory(path);
      else
        Win32::TKernelHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      paths.push_back(path.wstring());
    }
    return paths;
  }

private:
  std::filesystem::path FPath;
};

}  // namespace Bench
