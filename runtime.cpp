// The library's own definitions of some C++ runtime entry points, in place of the statically linked runtime's:
// those would bloat the library or keep a resource of the process after the library unloads.
#include <windows.h>

#include <cxxabi.h>
#include <pthread.h>

#include <cstdlib>
#include <exception>
#include <new>
#include <string>  // declares the throw helpers
#include <typeinfo>

// Failures ---------------------------------------------------------------------------------------------------
//
// The runtime's versions bring in machinery a shell extension never uses. Its terminate handler writes the
// pending exception's demangled type to a standard error stream that Explorer does not have (the demangler and
// formatted printing, a quarter of the library), and the throw helpers of the standard containers and of
// std::mutex construct exception classes whose text lives in two complete string implementations and the
// error-category tables. Defined here, none of that is linked. Everything these throw is caught at the
// library's boundaries like any other failure, and whoever catches it still learns what went wrong.

namespace {

// The runtime's own text, kept as given: it is a literal in the runtime's headers.
class ERuntimeFailure final : public std::exception {
public:
  explicit ERuntimeFailure(const char* text) noexcept : FText(text) {}
  const char* what() const noexcept override { return FText; }

private:
  const char* FText;
};

}  // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* text) { throw ERuntimeFailure(text); }
void __throw_domain_error(const char* text) { throw ERuntimeFailure(text); }
void __throw_invalid_argument(const char* text) { throw ERuntimeFailure(text); }
void __throw_length_error(const char* text) { throw ERuntimeFailure(text); }
void __throw_out_of_range(const char* text) { throw ERuntimeFailure(text); }
// The format's arguments are not filled in: the text without them still names the failing call.
void __throw_out_of_range_fmt(const char* format, ...) { throw ERuntimeFailure(format); }
void __throw_runtime_error(const char* text) { throw ERuntimeFailure(text); }
void __throw_range_error(const char* text) { throw ERuntimeFailure(text); }
void __throw_overflow_error(const char* text) { throw ERuntimeFailure(text); }
void __throw_underflow_error(const char* text) { throw ERuntimeFailure(text); }
void __throw_system_error(int) { throw ERuntimeFailure("a lock or thread call of the system failed"); }

}  // namespace std

// Function-local statics ------------------------------------------------------------------------------------
//
// The runtime guards their first use with the thread library's once-only routine, and that library's first
// use in each loaded copy of this library takes a thread-local storage index that it never gives back when the
// library unloads. Explorer unloads idle handlers and loads them again at the next right-click; after about a
// thousand loads the process has no index left and the thread library aborts it. These guards need nothing but
// the guard's own word.

namespace __cxxabiv1 {

namespace {

// The guard's first byte says the static is ready (the compiler's inline check reads only that byte); the
// second says a thread is initializing it.
constexpr LONG Ready = 0x1, Running = 0x100;

volatile LONG* StateOf(__guard* guard) noexcept { return reinterpret_cast<volatile LONG*>(guard); }

}  // namespace

extern "C" int __cxa_guard_acquire(__guard* guard) {
  for (;;) {
    LONG seen = ::InterlockedCompareExchange(StateOf(guard), Running, 0);
    if (seen == 0) return 1;  // this thread initializes
    if (seen & Ready) return 0;
    ::SwitchToThread();  // another thread is initializing it; only a first use can meet this
  }
}

extern "C" void __cxa_guard_release(__guard* guard) noexcept { ::InterlockedExchange(StateOf(guard), Ready); }

// The initializer failed: the next use tries again.
extern "C" void __cxa_guard_abort(__guard* guard) noexcept { ::InterlockedExchange(StateOf(guard), 0); }

}  // namespace __cxxabiv1

// One-time routines ------------------------------------------------------------------------------------------
//
// The 32-bit unwinder sets itself up at the first exception of each load with the thread library's once-only
// routine, and so would take the same index. This one needs nothing but its state word.

namespace {

constexpr LONG OnceDone = 1, OnceRunning = 2;

}  // namespace

extern "C" int pthread_once(pthread_once_t* once, void (*routine)(void)) {
  for (;;) {
    LONG seen = ::InterlockedCompareExchange(once, OnceRunning, 0);
    if (seen == OnceDone) return 0;
    if (seen == 0) break;
    ::SwitchToThread();  // another thread runs it
  }
  routine();
  ::InterlockedExchange(once, OnceDone);
  return 0;
}
