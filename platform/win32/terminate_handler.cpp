// What orvo.exe does when std::terminate is called (an exception nothing
// caught): the message, if the exception is an std::exception, on standard
// error, then abort. libstdc++'s own handler, which this one replaces by
// defining the function its default calls, also names the exception's type
// through the C++ demangler: a tenth of the program, for a line that a
// Windows program without a console has nowhere to show.
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  static bool terminating = false;
  if (terminating) {
    std::fputs("terminate called recursively\n", stderr);
    std::abort();
  }
  terminating = true;
  if (const std::exception_ptr current = std::current_exception()) {
    std::fputs("terminate called after throwing an exception\n", stderr);
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& e) {
      std::fputs("  what():  ", stderr);
      std::fputs(e.what(), stderr);
      std::fputc('\n', stderr);
    } catch (...) {
    }
  } else {
    std::fputs("terminate called without an active exception\n", stderr);
  }
  std::abort();
}

}  // namespace __gnu_cxx
