// The data files' saves on Windows: LockFileEx on the lock file, FlushFileBuffers before the
// replace, and MoveFileExW writing the replace through to the disk; their stamps from one look.
#include "platform/startup.h"

#include <windows.h>

#include <memory>
#include <string>

#include "engine/modGeneral.h"
#include "platform/win32/text.h"

namespace tarvex {
namespace {

// The system's words for the calling thread's last error.
Result Failed(std::string_view what) {
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring words = length > 0 ? std::wstring(text, length) : L"error " + std::to_wstring(code);
  if (text != nullptr) LocalFree(text);
  while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.'))
    words.pop_back();
  return Result::Failure(std::string(what) + win32::Narrow(words));
}

// A file handle, closed when the last owner lets go.
struct FileHandle {
  HANDLE handle;
  explicit FileHandle(HANDLE h) : handle(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

// The whole-file lock on the lock file, let go when the handle closes.
std::shared_ptr<void> LockFile(const std::filesystem::path& lockFile) {
  auto file = std::make_shared<FileHandle>(
      CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file->handle == INVALID_HANDLE_VALUE) return nullptr;
  OVERLAPPED whole{};
  if (!LockFileEx(file->handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole))
    return nullptr;
  return file;
}

Result WriteFlushed(const std::filesystem::path& path, std::string_view bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.handle == INVALID_HANDLE_VALUE) return Failed("its temporary file cannot be created: ");
  DWORD written = 0;
  if (!WriteFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    return Failed("");
  if (!FlushFileBuffers(file.handle)) return Failed("");
  return {};
}

Result MoveThrough(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return Failed("");
  return {};
}

// One look at the file's attributes: its size and last write time.
FileStamp StampOfFile(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA about{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &about)) return {};
  const auto whole = [](DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
  };
  return {.present = true,
          .size = whole(about.nFileSizeHigh, about.nFileSizeLow),
          .modified = static_cast<std::int64_t>(
              whole(about.ftLastWriteTime.dwHighDateTime, about.ftLastWriteTime.dwLowDateTime))};
}

}  // namespace

void UsePlatformDataFileCalls() {
  SetDataFileCalls(
      {.Lock = LockFile, .Write = WriteFlushed, .Replace = MoveThrough, .Stamp = StampOfFile});
}

}  // namespace tarvex
