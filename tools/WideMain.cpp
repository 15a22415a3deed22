// The ARM64 programs' start: zig 0.11 takes -municode but still starts a program at main, so this main hands
// the wide command line to the program's wmain, read as MinGW-w64's Unicode start-up reads it.
#include <windows.h>

int wmain(int argc, wchar_t** argv);

namespace {

// The runtime's start-up information: only the allocation failure mode, left as the runtime's default.
struct TStartupInfo {
  int NewMode;
};

}  // namespace

extern "C" int __cdecl __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** environment, int expandWildcards,
                                      TStartupInfo* info);

int main() {
  int argc = 0;
  wchar_t** argv = nullptr;
  wchar_t** environment = nullptr;
  TStartupInfo info{0};
  // No wildcard expansion, as in the other builds.
  if (__wgetmainargs(&argc, &argv, &environment, 0, &info) < 0) return 255;
  return wmain(argc, argv);
}
