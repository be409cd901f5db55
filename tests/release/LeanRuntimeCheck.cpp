// The lean runtime of the shipped binaries (release/LeanRuntime.cpp): the C++ library's faults
// still arrive as exceptions that a catch of std::exception gets, with the library's own text,
// and allocation failures keep their type. A plain program, since a test framework brings in the
// library parts that the lean runtime replaces.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {
int failures = 0;

template <class Fault, class Action>
void Expect(const char* what, const char* message, Action action) {
  try {
    action();
    std::printf("FAIL: %s did not throw\n", what);
    ++failures;
  } catch (const Fault& fault) {
    const bool ok = std::string(fault.what()).find(message) != std::string::npos;
    std::printf("%s: %s threw \"%s\"\n", ok ? "ok  " : "FAIL", what, fault.what());
    failures += ok ? 0 : 1;
  } catch (...) {
    std::printf("FAIL: %s threw something else\n", what);
    ++failures;
  }
}
}  // namespace

int main() {
  const std::string text = "ATR";
  Expect<std::exception>("string::at past the end", "basic_string::at: __n (which is %zu)",
                         [&] { static_cast<void>(text.at(7)); });
  Expect<std::exception>("string::substr past the end", "__pos (which is %zu) > this->size()",
                         [&] { static_cast<void>(text.substr(9)); });
  Expect<std::exception>("vector::reserve beyond max_size", "vector::reserve", [] {
    std::vector<int> list;
    list.reserve(list.max_size() + 1);
  });
  Expect<std::exception>("a lock that fails", "system error", [] { std::__throw_system_error(5); });
  Expect<std::bad_alloc>("an allocation beyond memory", "", [] {
    // Stored where the compiler cannot see it unused, or it may leave the allocation out.
    static char* volatile memory;
    volatile std::size_t count = static_cast<std::size_t>(-1) / 2;
    memory = new char[count];
    delete[] memory;
  });
  return failures == 0 ? 0 : 1;
}
