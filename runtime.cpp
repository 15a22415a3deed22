// The library's own definitions of the C++ runtime's failure entry points, in place of the runtime's.
//
// The runtime's versions bring in machinery a shell extension never uses: the terminate handler writes the
// pending exception's demangled type to a standard error stream that Explorer does not have (the demangler and
// formatted printing, a quarter of the library), and the throw helpers of the standard containers and of
// std::mutex construct exception classes whose text lives in two complete string implementations and the
// error-category tables. Defined here, none of that is linked. Everything these throw is caught at the
// library's boundaries like any other failure, and whoever catches it still learns what went wrong.
#include <cstdlib>
#include <exception>
#include <new>
#include <string>  // declares the throw helpers
#include <typeinfo>

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
