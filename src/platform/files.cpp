// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.hpp"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/graph.hpp"

namespace platform {
namespace {

WriteObserver g_write_observer = nullptr;
ReadObserver g_read_observer = nullptr;

std::string describe(int code) {
  switch (code) {
    case 2: return "file not found";
    case 3: return "path not found";
    case 4: return "too many open files";
    case 5: return "access denied";
    case 100: return "disk read error";
    case 101: return "disk write error";
    default: return "I/O error";
  }
}

// The cause behind a number where the number alone would mislead.
std::string cause(int err) {
  switch (err) {
    case ENOSPC: return "no space left on the disk";
    case EDQUOT: return "disk quota exceeded";
    case EIO: return "input/output error of the device";
    case EFBIG: return "file too large";
    case EROFS: return "read-only file system";
    case EISDIR: return "it is a folder";
    case ELOOP: return "too many symbolic links";
    case ENAMETOOLONG: return "name too long";
    default: return std::strerror(err);
  }
}

// The number for a file or folder that does not exist: 3 when its folder is
// missing too.
int not_found(const std::filesystem::path& path) {
  std::error_code ec;
  const auto parent = path.parent_path();
  if (!parent.empty() && !std::filesystem::is_directory(parent, ec)) return 3;
  return 2;
}

std::string kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return "it is a folder";
  if (S_ISFIFO(mode)) return "it is a named pipe, not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
  return "it is not a regular file";
}

bool is_temporary_suffix(std::string_view suffix);

// Temporary files of writes that a crash cut short: "<name>.tmp" and a
// suffix beside the target, older than any write takes.
void remove_stale_temporaries(const std::filesystem::path& target) {
  std::error_code ec;
  const auto folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  const std::string prefix = target.filename().string() + ".tmp";
  const auto now = std::filesystem::file_time_type::clock::now();
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (!is_temporary_suffix(std::string_view(name).substr(prefix.size()))) continue;
    const auto written = entry.symlink_status(ec).type() == std::filesystem::file_type::regular
                             ? entry.last_write_time(ec)
                             : now;
    if (!ec && now - written > std::chrono::seconds(10)) std::filesystem::remove(entry.path(), ec);
  }
}

constexpr std::string_view kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLetters = 8;

// Older versions named their temporaries after the process number.
bool is_temporary_suffix(std::string_view suffix) {
  if (suffix.find_first_not_of("0123456789") == std::string_view::npos) return true;
  return suffix.size() == kRandomLetters && suffix.find_first_not_of(kNameLetters) == std::string_view::npos;
}

// Creates "<target>.tmp" and eight random letters, exclusively: never
// through an existing name, a link included. Returns the descriptor.
int create_temporary(const std::filesystem::path& target, std::filesystem::path& temp) {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix = ".tmp";
    for (std::size_t i = 0; i < kRandomLetters; ++i) suffix += kNameLetters[rng() % kNameLetters.size()];
    temp = target;
    temp += suffix;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool write_all(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Opens a file without ever waiting on it (a named pipe with no writer, a
// device), and refuses it unless it is a regular file: -1 with errno set,
// and the mode of what was refused in `refused` when the caller asks.
int open_regular(const std::filesystem::path& path, int flags, std::optional<mode_t>* refused = nullptr) {
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  struct stat st = {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    if (refused != nullptr) *refused = st.st_mode;
    errno = err;
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

IoError io_error(FileStep step, int err, const std::filesystem::path& path) {
  const bool writing = step == FileStep::kCreate || step == FileStep::kWrite;
  int code = 5;
  switch (err) {
    case ENOENT: code = not_found(path); break;
    case ENOTDIR: code = 3; break;
    case EMFILE:
    case ENFILE: code = 4; break;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ELOOP:
    case ENAMETOOLONG: code = 5; break;
    default: code = writing ? 101 : 100; break;
  }
  std::string text = describe(code);
  if (code == 5 || code >= 100) text += ": " + cause(err);
  if (writing) text += "; the old file is kept";
  return IoError(code, path, text);
}

std::filesystem::path game_path(std::string_view dos_path) {
  std::filesystem::path p;
  std::size_t start = 0;
  while (start <= dos_path.size()) {
    std::size_t sep = dos_path.find('\\', start);
    if (sep == std::string_view::npos) sep = dos_path.size();
    if (sep > start) p /= std::string(dos_path.substr(start, sep - start));
    start = sep + 1;
  }
  return p;
}

std::vector<std::uint8_t> read_record(const std::filesystem::path& path, std::size_t size) {
  if (g_read_observer != nullptr) g_read_observer(path);
  std::optional<mode_t> refused;
  const int fd = open_regular(path, O_RDONLY, &refused);
  if (refused) throw IoError(5, path, describe(5) + ": " + kind_of(*refused));
  if (fd < 0) throw io_error(FileStep::kOpen, errno, path);
  std::vector<std::uint8_t> bytes(size);
  std::size_t got = 0;
  int err = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, bytes.data() + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) err = errno;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (err != 0) throw io_error(FileStep::kRead, err, path);
  if (got < size) {
    throw IoError(
        100, path,
        "file too short: " + std::to_string(got) + " of " + std::to_string(size) + " bytes (read past end of file)");
  }
  return bytes;
}

std::filesystem::path write_target(const std::filesystem::path& path) {
  std::filesystem::path at = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st = {};
    if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
    // Someone else's link is never followed: the write replaces it.
    if (st.st_uid != ::geteuid()) return at;
    std::error_code ec;
    const auto to = std::filesystem::read_symlink(at, ec);
    if (ec) return at;
    at = to.is_absolute() ? to : at.parent_path() / to;
  }
  return path;  // a loop of links: replaced by the file itself
}

void write_record(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, Durability durability) {
  const std::filesystem::path target = write_target(path);
  // `target` is a link only when it is someone else's: that one is replaced,
  // and nothing of the file it names matters.
  struct stat old = {};
  const bool exists = ::lstat(target.c_str(), &old) == 0 && !S_ISLNK(old.st_mode);
  if (exists && S_ISDIR(old.st_mode)) throw IoError(5, path, describe(5) + ": " + kind_of(old.st_mode));
  // A file the player made read-only stays as it is, as an overwrite in place would.
  if (exists && ::access(target.c_str(), W_OK) != 0) throw io_error(FileStep::kCreate, errno, path);
  std::filesystem::path temp;
  const int fd = create_temporary(target, temp);
  if (fd < 0) throw io_error(FileStep::kCreate, errno, path);
  // The file keeps its mode; a new one gets what the player's umask allows.
  if (exists && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
  bool ok = write_all(fd, bytes);
  int err = ok ? 0 : errno;
  if (ok && durability == Durability::kDurable && ::fsync(fd) != 0) ok = false, err = errno;
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = false, err = errno;
  if (!ok) {
    ::unlink(temp.c_str());
    throw io_error(FileStep::kWrite, err, path);
  }
  remove_stale_temporaries(target);
  if (g_write_observer != nullptr) g_write_observer(path);
}

std::string full_path(const std::filesystem::path& path) {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return (ec ? path : absolute).lexically_normal().string();
}

namespace {

// Moves the file to "<name>.damaged-DATE-TIME" (with "-2", "-3" ... when
// that exists) beside it, never replacing another file. Returns the new
// name, or nothing when it could not be moved.
std::optional<std::filesystem::path> set_aside(const std::filesystem::path& path) {
  const std::string base = path.filename().string() + ".damaged-" + local_timestamp();
  for (int n = 1; n < 1000; ++n) {
    std::filesystem::path target = path;
    target.replace_filename(n == 1 ? base : base + "-" + std::to_string(n));
#if defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return target;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) return std::nullopt;
#endif
    // No atomic way on this file system: look first, then rename.
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(target, ec))) continue;
    std::filesystem::rename(path, target, ec);
    if (ec) return std::nullopt;
    return target;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> set_aside_damaged(const std::filesystem::path& path, std::string_view why,
                                                       const DamagedFileNote& note) {
  auto kept = set_aside(path);
  if (!kept) return std::nullopt;
  const std::string line = "zelvanos: " + std::string(why) + "; " + std::string(note.what_hu) + " félretéve ide / " +
                           std::string(note.what_en) + " is kept as " + full_path(*kept) + "; " +
                           std::string(note.then) + "\n";
  std::fputs(line.c_str(), stderr);
  return kept;
}

GameFolderLock::GameFolderLock(const std::filesystem::path& lock_file) {
#if defined(__EMSCRIPTEN__)
  // A web page's files are its own, and the browser has no such locks: no
  // lock file to leave in the page's storage.
  (void)lock_file;
  return;
#endif
  fd_ = open_regular(lock_file, O_RDWR | O_CREAT | O_NOFOLLOW);
  // A lock file made by another player may be read-only for this one; a
  // read-only descriptor locks as well.
  if (fd_ < 0 && (errno == EACCES || errno == EROFS)) fd_ = open_regular(lock_file, O_RDONLY | O_NOFOLLOW);
  if (fd_ < 0) return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
  const int err = errno;
  ::close(fd_);
  fd_ = -1;
  if (err == EWOULDBLOCK) {
    const auto folder = lock_file.parent_path().parent_path();
    throw Fatal(32, "A játék már fut ebben a mappában (" +
                        (folder.empty() ? std::string(".") : folder.generic_string()) +
                        "); egyszerre csak egy példánya futhat. / The game is already running in this folder; "
                        "only one copy may run at a time. (I/O error 32)");
  }
}

RecordLock::RecordLock(const std::filesystem::path& record) {
  const auto folder = write_target(record).parent_path();
  fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;  // the read or the write will say what is wrong
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
  }
}

HeldLock::~HeldLock() {
  if (fd_ >= 0) ::close(fd_);
}

void set_write_observer(WriteObserver observer) { g_write_observer = observer; }
void set_read_observer(ReadObserver observer) { g_read_observer = observer; }

}  // namespace platform
