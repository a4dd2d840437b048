// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.hpp"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/backend.hpp"
#include "platform/graph.hpp"

namespace platform {
namespace {

WriteObserver g_write_observer = nullptr;
ReadObserver g_read_observer = nullptr;

// What stands where a file should be, in both languages.
Bilingual kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return {"ez egy mappa", "it is a folder"};
  if (S_ISFIFO(mode)) return {"ez egy nevesített cső, nem fájl", "it is a named pipe, not a file"};
  if (S_ISSOCK(mode)) return {"ez egy socket, nem fájl", "it is a socket, not a file"};
  if (S_ISCHR(mode) || S_ISBLK(mode)) return {"ez egy eszköz, nem fájl", "it is a device, not a file"};
  if (S_ISLNK(mode)) return {"ez egy szimbolikus link", "it is a symbolic link"};
  return {"nem közönséges fájl", "it is not a regular file"};
}

// Access denied (5), for the reason given.
IoError denied(const std::filesystem::path& path, const Bilingual& why) {
  const Bilingual code = code_text(5);
  return IoError(5, path, code.en + ": " + why.en, code.hu + ": " + why.hu);
}

std::string user_name(uid_t uid) {
  struct passwd pw = {};
  struct passwd* found = nullptr;
  char buf[1024];
  if (::getpwuid_r(uid, &pw, buf, sizeof buf, &found) == 0 && found != nullptr) return found->pw_name;
  return "uid " + std::to_string(uid);
}

// A line on standard error, named after the running program.
void say(const std::string& line) {
#if defined(__EMSCRIPTEN__)
  const char* me = "zelvanos";
#else
  const char* me = program_invocation_short_name;
#endif
  std::fprintf(stderr, "%s: %s\n", me, line.c_str());
  std::fflush(stderr);
}

constexpr std::string_view kTemporaryMark = ".zelvanos-tmp-";
constexpr std::string_view kNameLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLetters = 10;

// Whether `name` can only be a temporary file of a write of `target`: the
// pattern create_temporary makes, and nothing a person would name.
bool is_own_temporary(std::string_view name, const std::string& target) {
  if (name.size() != target.size() + kTemporaryMark.size() + kRandomLetters) return false;
  if (name.substr(0, target.size()) != target) return false;
  if (name.substr(target.size(), kTemporaryMark.size()) != kTemporaryMark) return false;
  return name.substr(target.size() + kTemporaryMark.size()).find_first_not_of(kNameLetters) == std::string_view::npos;
}

// Temporary files of writes that a crash cut short: files of the player's
// own, of the pattern above, older than any write takes.
void remove_stale_temporaries(const std::filesystem::path& target) {
  std::error_code ec;
  const auto folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  const std::string base = target.filename().string();
  const auto now = std::chrono::system_clock::now();
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (!is_own_temporary(entry.path().filename().string(), base)) continue;
    struct stat st = {};
    if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (now - std::chrono::system_clock::from_time_t(st.st_mtime) > std::chrono::seconds(10)) {
      std::filesystem::remove(entry.path(), ec);
    }
  }
}

// Creates "<target>.zelvanos-tmp-" and ten random letters, exclusively:
// never through an existing name, a link included. Returns the descriptor.
int create_temporary(const std::filesystem::path& target, std::filesystem::path& temp, mode_t mode) {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix(kTemporaryMark);
    for (std::size_t i = 0; i < kRandomLetters; ++i) suffix += kNameLetters[rng() % kNameLetters.size()];
    temp = target;
    temp += suffix;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
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

// Makes a rename in the folder last: the folder's entry is on the disk.
void sync_folder(const std::filesystem::path& file) {
  const auto folder = file.parent_path();
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // a file system that cannot sync a folder has nothing more to do
  ::close(fd);
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

// --- lock files ---------------------------------------------------------

bool no_locks_here(int err) { return err == ENOLCK || err == EOPNOTSUPP || err == EINVAL || err == ENOSYS; }

void say_no_locks(const std::filesystem::path& lock_file) {
  static std::atomic<bool> said{false};
  if (said.exchange(true)) return;
  const auto folder = lock_file.parent_path().empty() ? std::filesystem::path(".") : lock_file.parent_path();
  say(full_path(folder) +
      ": ez a fájlrendszer nem ismeri a zárolást, így az eredménylista és a beállítások nincsenek védve egy "
      "velük egyszerre író másik programtól / this file system has no locks, so the high-score list and the "
      "settings are not protected against another program writing them at the same time");
}

// Whether the descriptor still holds the file named `path` (and not one that
// was replaced meanwhile).
bool still_named(int fd, const std::filesystem::path& path) {
  struct stat held = {};
  struct stat named = {};
  return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

// The process holding an flock on the open file, from /proc/locks: its
// number and its user (nothing when it cannot be told).
struct Holder {
  long pid = 0;
  std::optional<uid_t> uid;
};

std::optional<Holder> holder_of(int fd) {
  struct stat st = {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  char id[64];
  std::snprintf(id, sizeof id, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));
  std::ifstream locks("/proc/locks");
  std::string line;
  while (std::getline(locks, line)) {
    std::istringstream words(line);
    std::string number, type, advisory, access, where;
    long pid = 0;
    if (!(words >> number >> type) || type == "->") continue;  // a waiter
    if (type != "FLOCK" || !(words >> advisory >> access >> pid >> where) || where != id) continue;
    Holder h;
    h.pid = pid;
    struct stat proc = {};
    if (::stat(("/proc/" + std::to_string(pid)).c_str(), &proc) == 0) h.uid = proc.st_uid;
    return h;
  }
  return std::nullopt;
}

// Replaces the lock file by a fresh one of the player's own (the old one
// stays with whoever holds it open).
void replace_lock_file(const std::filesystem::path& file) {
  std::filesystem::path temp;
  const int fd = create_temporary(file, temp, 0600);
  if (fd < 0) return;
  ::close(fd);
  if (::rename(temp.c_str(), file.c_str()) != 0) ::unlink(temp.c_str());
}

bool folder_is_own(const std::filesystem::path& file) {
  const auto folder = file.parent_path();
  struct stat st = {};
  return ::stat(folder.empty() ? "." : folder.c_str(), &st) == 0 && st.st_uid == ::geteuid();
}

IoError not_a_lock_file(const std::filesystem::path& file, mode_t mode) {
  const Bilingual kind = kind_of(mode);
  return denied(file, {kind.hu + ", nem a játék saját zárolófájlja; törölje",
                       kind.en + ", not the game's own lock file; remove it"});
}

// Opens the lock file, creating it when it is missing (mode 0600, never
// through a link): a regular file of the player's own, which no other user
// can open (root may use any regular file). Returns -1 when its folder
// cannot hold one (a folder the player cannot write, a missing folder);
// throws IoError 5 for anything else in its place.
int open_lock_file(const std::filesystem::path& file) {
  refuse_foreign_folder_link(file);
  const uid_t me = ::geteuid();
  for (int attempt = 0; attempt < 10; ++attempt) {
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::fchmod(fd, 0600);  // whatever the umask
      return fd;
    }
    if (errno != EEXIST) return -1;
    struct stat named = {};
    if (::lstat(file.c_str(), &named) != 0) continue;  // removed meanwhile
    if (!S_ISREG(named.st_mode)) throw not_a_lock_file(file, named.st_mode);
    if (named.st_uid != me && me != 0) {
      // Only root could have left a file of its own in the player's folder.
      if (named.st_uid == 0 && folder_is_own(file)) {
        replace_lock_file(file);
        continue;
      }
      const std::string who = user_name(named.st_uid);
      throw denied(file, {"a zárolófájl egy másik felhasználóé (" + who +
                              "); a játék csak a játékos saját zárolófájlját használja, ezt a tulajdonosa törölheti",
                          "the lock file belongs to another user (" + who +
                              "); only a lock file of the player's own is used, and its owner may remove this one"});
    }
    fd = ::open(file.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT || errno == ELOOP) continue;  // changed meanwhile
      throw io_error(FileStep::kOpen, errno, file);
    }
    if (!still_named(fd, file)) {
      ::close(fd);
      continue;
    }
    if (named.st_uid == me && (named.st_mode & 077) != 0) ::fchmod(fd, 0600);  // older versions made it readable
    return fd;
  }
  return -1;
}

}  // namespace

void refuse_foreign_folder_link(const std::filesystem::path& path) {
  const auto folder = path.parent_path();
  struct stat st = {};
  if (folder.empty() || ::lstat(folder.c_str(), &st) != 0 || !S_ISLNK(st.st_mode) || st.st_uid == ::geteuid()) {
    return;
  }
  const std::string who = user_name(st.st_uid);
  const std::string name = folder.filename().string();
  throw denied(
      path,
      {"a(z) " + name + " mappa egy másik felhasználó (" + who + ") szimbolikus linkje, amelyet a játék nem követ",
       "its folder " + name + " is a symbolic link of another user (" + who + "), which is never followed"});
}

IoError io_error(FileStep step, int err, const std::filesystem::path& path) {
  const int code = io_code(step, err, path);
  const Bilingual text = problem_text(step, err, code);
  return IoError(code, path, text.en, text.hu);
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
  if (refused) throw denied(path, kind_of(*refused));
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
    const std::string counts = std::to_string(got) + " of " + std::to_string(size) + " bytes";
    throw IoError(
        100, path, "file too short: " + counts + " (read past end of file)",
        "a fájl sérült: túl rövid, " + std::to_string(got) + " bájt a(z) " + std::to_string(size) + " helyett");
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
  refuse_foreign_folder_link(path);
  const std::filesystem::path target = write_target(path);
  // `target` is a link only when it is someone else's: that one is replaced,
  // and nothing of the file it names matters.
  struct stat old = {};
  const bool exists = ::lstat(target.c_str(), &old) == 0 && !S_ISLNK(old.st_mode);
  // Only a file is replaced: never a folder, and never a device or pipe a
  // link of the player's own leads to.
  if (exists && !S_ISREG(old.st_mode)) throw denied(path, kind_of(old.st_mode));
  // A file the player made read-only stays as it is, as an overwrite in place would.
  if (exists && ::access(target.c_str(), W_OK) != 0) throw io_error(FileStep::kCreate, errno, path);
  std::filesystem::path temp;
  const int fd = create_temporary(target, temp, 0666);
  if (fd < 0) throw io_error(FileStep::kCreate, errno, path);
  // The file keeps its mode; a new one gets what the player's umask allows.
  if (exists) ::fchmod(fd, old.st_mode & 07777);
  bool ok = write_all(fd, bytes);
  int err = ok ? 0 : errno;
  if (ok && durability == Durability::kDurable && ::fsync(fd) != 0) ok = false, err = errno;
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = false, err = errno;
  if (!ok) {
    ::unlink(temp.c_str());
    throw io_error(FileStep::kWrite, err, path);
  }
  if (durability == Durability::kDurable) sync_folder(target);
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
  for (int attempt = 0; attempt < 10; ++attempt) {
    fd_ = open_lock_file(lock_file);
    if (fd_ < 0) return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      if (still_named(fd_, lock_file)) return;
      ::close(fd_);  // replaced meanwhile: lock the new one
      fd_ = -1;
      continue;
    }
    const int err = errno;
    struct stat st = {};
    ::fstat(fd_, &st);
    const auto holder = err == EWOULDBLOCK ? holder_of(fd_) : std::nullopt;
    ::close(fd_);
    fd_ = -1;
    if (err != EWOULDBLOCK) {
      if (no_locks_here(err)) say_no_locks(lock_file);
      return;
    }
    // Only the player (and root) can open the lock file now; another user
    // can hold it only through a descriptor opened when older versions made
    // it readable. That is no copy of the game.
    if (holder && holder->uid && *holder->uid != ::geteuid() && *holder->uid != st.st_uid) {
      say(lock_file.generic_string() + ": egy másik felhasználó (" + user_name(*holder->uid) + ") programja (" +
          std::to_string(holder->pid) +
          ") tartja nyitva; a játék az egy példányt őrző zár nélkül fut / held open by a program (" +
          std::to_string(holder->pid) + ") of another user (" + user_name(*holder->uid) +
          "); the game runs without its one-copy guard");
      return;
    }
    const auto folder = lock_file.parent_path().parent_path();
    throw Fatal(32, "A játék már fut ebben a mappában (" +
                        (folder.empty() ? std::string(".") : folder.generic_string()) +
                        "); egyszerre csak egy példánya futhat. / The game is already running in this folder; "
                        "only one copy may run at a time. (I/O error 32)");
  }
}

std::filesystem::path RecordLock::file_of(const std::filesystem::path& record) {
  std::filesystem::path file = record;
  file += ".lock";
  return file;
}

RecordLock::RecordLock(const std::filesystem::path& record, WithoutLock otherwise) {
#if defined(__EMSCRIPTEN__)
  (void)record;
  (void)otherwise;
  return;
#endif
  const auto file = file_of(record);
  const auto release = [this] {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  };
  try {
    const auto deadline = std::chrono::steady_clock::now() + kRecordLockPatience;
    for (int attempt = 0; attempt < 10; ++attempt) {
      fd_ = open_lock_file(file);
      if (fd_ < 0) return;  // the read or the write will say what is wrong
      while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EINTR) continue;
        if (err != EWOULDBLOCK) {
          release();
          if (no_locks_here(err)) say_no_locks(file);
          return;
        }
        // Never a wait without end: the window closed ends it at once, and
        // a holder that keeps it too long is told.
        if (key_queue().interrupted()) {
          release();
          throw SessionEnded{};
        }
        if (std::chrono::steady_clock::now() >= deadline) {
          const auto holder = holder_of(fd_);
          release();
          const std::string seconds = std::to_string(kRecordLockPatience.count() / 1000);
          const std::string process = holder ? " (" + std::to_string(holder->pid) + ")" : "";
          Bilingual text = code_text(33);
          text.en.append(": another program").append(process).append(" has held it for more than ");
          text.en.append(seconds).append(" seconds");
          text.hu.append(": egy másik program").append(process).append(" ").append(seconds);
          text.hu.append(" másodpercnél tovább tartja");
          throw IoError(33, file, text.en, text.hu);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      if (still_named(fd_, file)) return;
      release();  // replaced meanwhile: lock the new one
    }
  } catch (const IoError& e) {
    release();
    if (otherwise == WithoutLock::kFail) throw;
    say(e.path().generic_string() + ": " + e.problem_hu() + "; a változás zárolás nélkül íródik / " + e.problem() +
        "; the change is written without the lock");
  }
}

HeldLock::~HeldLock() {
  if (fd_ >= 0) ::close(fd_);
}

void set_write_observer(WriteObserver observer) { g_write_observer = observer; }
void set_read_observer(ReadObserver observer) { g_read_observer = observer; }

}  // namespace platform
