// Builds the run-time error text from its fixed template and shows it in a message box.
#include "RunError.h"

#include "win32/Text.h"

#include <windows.h>

#include <algorithm>

namespace ComObj {

namespace {

constexpr char Template[] = "Runtime error     at 00000000";
constexpr std::size_t NumberEnd = 17;  // the blank before "at"
constexpr std::size_t OffsetStart = 21;

}  // namespace

std::string RunErrorText(std::uint32_t number, std::uintptr_t offset) {
  std::string text = Template;  // a fresh copy each time, so no digits of an earlier report remain
  std::size_t position = NumberEnd;
  do {
    text[--position] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0 && position > 0);
  // Offsets within a module fit in 32 bits on both architectures. Copied over the zeros: replace() would add a
  // kilobyte to the library.
  std::string digits = Win32::HexDigits(static_cast<std::uint32_t>(offset));
  std::copy(digits.begin(), digits.end(), text.begin() + OffsetStart);
  return text;
}

std::uintptr_t ModuleOffset(std::uintptr_t address) noexcept {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(address), &module))
    return address;
  return address - reinterpret_cast<std::uintptr_t>(module);
}

void ShowRunError(std::uint32_t number, std::uintptr_t address) noexcept {
  try {
    std::string text = RunErrorText(number, ModuleOffset(address));
    ::MessageBoxA(nullptr, text.c_str(), "Error", MB_OK);
  } catch (...) {
    // No memory for the text: the answer FALSE still tells the loader that start-up failed.
  }
}

}  // namespace ComObj
