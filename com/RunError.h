// The run-time error report: its text and the message box that shows it.
#pragma once

#include <cstdint>
#include <string>

namespace ComObj {

// "Runtime error NNN at XXXXXXXX": the number right-aligned before " at", the offset as eight hex digits.
std::string RunErrorText(std::uint32_t number, std::uintptr_t offset);

// How far an address lies from the base of the module that contains it; the address itself outside any module.
std::uintptr_t ModuleOffset(std::uintptr_t address) noexcept;

// Shows the run-time error box: caption "Error", an OK button, no owner window.
void ShowRunError(std::uint32_t number, std::uintptr_t address) noexcept;

}  // namespace ComObj
