// The library's own definitions of some of zig's libc++abi entry points, in place of the runtime's: those would
// bring in machinery a shell extension never uses. The MinGW-w64 builds replace the same for libstdc++.
#include <cstdlib>
#include <exception>

// libc++abi's default terminate handler writes the pending exception's demangled type to a standard error stream
// that Explorer does not have, which links the demangler; its fatal-error reporter formats with the C library's
// printf, which links formatted printing. Together they were well over a quarter of the library. Defined here, a
// failure past every catch ends the process as the other builds' does: at once, with abort.

extern "C" {

void (*__cxa_terminate_handler)() = std::abort;
void (*__cxa_unexpected_handler)() = std::terminate;
void (*__cxa_new_handler)() = nullptr;

[[noreturn]] void abort_message(const char*, ...) { std::abort(); }

}  // extern "C"
