#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/utf16.h"

namespace orvo::win32 {

namespace {

using Kind = gfx::FolderEntry::Kind;

// The system's words for error `code`, without the closing line break.
std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n > 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  return Utf8(message);
}

class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

Kind KindOf(DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Kind::kFolder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return Kind::kOther;
  if ((attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) return Kind::kHiddenFile;
  return Kind::kFile;
}

}  // namespace

std::optional<std::vector<gfx::FolderEntry>> ListFolder(const std::string& folder) {
  std::wstring pattern = Utf16(folder.empty() ? std::string(".") : folder);
  if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW entry;
  const FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
  std::vector<gfx::FolderEntry> entries;
  if (find.get() == INVALID_HANDLE_VALUE) {
    // Only an empty drive's root has no entry at all (a folder has "." and
    // ".."); anything else is a folder that is not there or not readable.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return entries;
    return std::nullopt;
  }
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({Utf8(name), KindOf(entry.dwFileAttributes)});
  } while (FindNextFileW(find.get(), &entry));
  if (GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
  return entries;
}

gfx::FileRead ReadFile(const std::string& path, std::int64_t limit,
                       std::vector<std::uint8_t>& bytes) {
  using Status = gfx::FileRead::Status;
  bytes.clear();
  const FileHandle file(CreateFileW(Utf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE)
    return {Status::kCannotOpen, SystemMessage(GetLastError())};
  const auto cap = static_cast<std::size_t>(std::max<std::int64_t>(limit, 0)) + 1;
  // Room for the size the file claims, within the limit; the reads decide.
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
    bytes.reserve(std::min(
        static_cast<std::size_t>(std::min<LONGLONG>(size.QuadPart, static_cast<LONGLONG>(cap))),
        cap));
  }
  std::uint8_t block[1 << 16];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(file.get(), block, sizeof block, &n, nullptr)) {
      return {Status::kReadError, SystemMessage(GetLastError())};
    }
    if (n == 0) return {};
    bytes.insert(bytes.end(), block, block + n);
    if (bytes.size() >= cap) {
      bytes.clear();
      return {Status::kTooLarge, {}};
    }
  }
}

}  // namespace orvo::win32
