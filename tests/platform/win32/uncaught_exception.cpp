// A program that leaves an exception uncaught, with orvo.exe's std::terminate
// handler (platform/win32/terminate_handler.cpp): the exception's message
// must show, and the program must abort.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

extern "C" void Aborted(int /*signal*/) {
  std::fputs("aborted\n", stderr);
  std::_Exit(0);
}

int main() {
  std::signal(SIGABRT, Aborted);
  throw std::runtime_error("nobody catches this");
}
