// Linked into every binary the release ships, ahead of the C++ library, to keep two parts of that
// library out of them; together they are about 90 KB of each 32-bit binary.
//
// The library's terminate handler prints the uncaught exception's type name on stderr, which needs
// its name demangler. None of these binaries has a console to print it on, so ending the process
// at once does all that handler would.
//
// The library's helpers that throw logic_error, length_error, out_of_range, system_error and their
// kin build those classes around a second, reference-counted string type, which brings in that
// type's whole code. What these helpers report are faults of the program (a string longer than
// memory, a lock that cannot be taken), never of the user's input. Here they throw one small
// exception that derives from std::exception and keeps the library's text, so the window
// framework's catch at the Win32 boundary treats it as before; only the exact type is gone, so
// shipped code catches none of those types (tests/release/check-fault-catches.sh).
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {
class LibraryFault : public std::exception {
 public:
  explicit LibraryFault(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;  // the library's own texts are literals
};
}  // namespace

namespace std {
void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* what) { throw LibraryFault(what); }
void __throw_domain_error(const char* what) { throw LibraryFault(what); }
void __throw_invalid_argument(const char* what) { throw LibraryFault(what); }
void __throw_length_error(const char* what) { throw LibraryFault(what); }
void __throw_out_of_range(const char* what) { throw LibraryFault(what); }
// The text unformatted: formatting would bring the whole printf machinery into binaries without it.
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryFault(format); }
void __throw_runtime_error(const char* what) { throw LibraryFault(what); }
void __throw_range_error(const char* what) { throw LibraryFault(what); }
void __throw_overflow_error(const char* what) { throw LibraryFault(what); }
void __throw_underflow_error(const char* what) { throw LibraryFault(what); }
void __throw_system_error(int) { throw LibraryFault("system error"); }
}  // namespace std
