// The data files' saves on POSIX systems: flock on the lock file, fsync before the rename, and the
// folder's entry flushed after it; their stamps from one stat.
#include "platform/startup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "engine/modGeneral.h"

namespace tarvex {
namespace {

Result Failed(std::string_view what) {
  return Result::Failure(std::string(what) + std::strerror(errno));
}

// An open file descriptor, closed when the last owner lets go.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  // Closes it now; false when closing reports an error (a write that failed late).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

std::shared_ptr<void> LockFile(const std::filesystem::path& lockFile) {
  auto file = std::make_shared<FileDescriptor>(
      open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (file->get() < 0) return nullptr;
  int locked;
  do {
    locked = flock(file->get(), LOCK_EX);  // held until the descriptor is closed
  } while (locked != 0 && errno == EINTR);
  return locked == 0 ? file : nullptr;
}

Result WriteFlushed(const std::filesystem::path& path, std::string_view bytes) {
  FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (file.get() < 0) return Failed("its temporary file cannot be created: ");
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t written = write(file.get(), bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return Failed("");
    done += static_cast<std::size_t>(written);
  }
  if (fsync(file.get()) != 0) return Failed("");
  if (!file.Close()) return Failed("");
  return {};
}

Result RenameFlushed(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return Failed("");
  // The new entry survives a crash once its folder is flushed too; a folder that cannot be opened
  // for that still holds the file.
  const std::filesystem::path parent = to.has_parent_path() ? to.parent_path() : ".";
  FileDescriptor folder(open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) fsync(folder.get());
  return {};
}

// One stat: the inode and the entry's change time tell every save (a new file renamed in place)
// apart, even one that falls within the coarse step of the modification time.
FileStamp StampOfFile(const std::filesystem::path& path) {
  struct stat about {};
  if (stat(path.c_str(), &about) != 0) return {};
  const auto nanoseconds = [](const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
  };
  return {.present = true,
          .size = static_cast<std::uintmax_t>(about.st_size),
          .modified = nanoseconds(about.st_mtim),
          .identity = static_cast<std::uint64_t>(about.st_ino),
          .changed = nanoseconds(about.st_ctim)};
}

}  // namespace

void UsePlatformDataFileCalls() {
  SetDataFileCalls(
      {.Lock = LockFile, .Write = WriteFlushed, .Replace = RenameFlushed, .Stamp = StampOfFile});
}

}  // namespace tarvex
