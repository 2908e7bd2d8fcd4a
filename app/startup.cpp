// Start-up checks: where the program lives and whether its folders hold files.
#include "app/startup.h"

#include <cstdio>
#include <cstdlib>

#include "gfx/file_lookup.h"

namespace orvo::app {

namespace {

void WriteToStandardError(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  std::fflush(stderr);
}

FatalMessageFn& CurrentFatalMessage() {
  static FatalMessageFn fn = WriteToStandardError;
  return fn;
}

}  // namespace

void SetFatalMessage(FatalMessageFn fn) {
  CurrentFatalMessage() = fn ? std::move(fn) : FatalMessageFn(WriteToStandardError);
}

void Fail(const std::string& text) {
  CurrentFatalMessage()(kErrorTitle, text);
  std::exit(1);
}

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string CheckPath(const std::string& folder) {
  if (!gfx::HoldsOrdinaryFile(folder)) Fail("Path not found: " + folder);
  return folder;
}

}  // namespace orvo::app
