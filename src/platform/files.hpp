// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Record files relative to the working folder. Reads take the first record
// of a file; writes replace the whole file safely: the record goes to a
// temporary file in the same folder, which is synced and then renamed over
// the old one, and the folder is synced after the rename, so neither a crash,
// a full disk nor a power loss leaves a cut-off file or brings back the old
// one.
//
// The temporary file is named "<name>.zelvanos-tmp-" and ten random letters
// and digits, and is created exclusively, so nothing planted under a name in
// the folder is ever written through; only names of that pattern are ever
// cleared as leftovers. A symbolic link in place of the file is followed
// when it belongs to the player running the game (the file it names is
// replaced, its mode kept); anyone else's link is replaced by the file
// itself. A file's folder that is another user's symbolic link is not
// followed at all: the write is refused. Only a regular file is replaced:
// a device or pipe (also behind a link of the player's own) is refused.
//
// Failures carry the classic I/O error numbers the game exits with, and
// their texts in Hungarian and English, from platform/io_messages.hpp.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.hpp"
#include "platform/io_messages.hpp"

namespace platform {

// The error for a system call that failed with `err` while doing `step` on
// `path`: the classic number and a text naming the failure as it is.
IoError io_error(FileStep step, int err, const std::filesystem::path& path);

// "Data\Config.cfg" as a path of this platform.
std::filesystem::path game_path(std::string_view dos_path);

// A path as a player should read it in a message: absolute and normalised
// (as given when the working folder cannot be found).
std::string full_path(const std::filesystem::path& path);

// The first `size` bytes of the file. Anything but a regular file (a
// folder, a named pipe, a device) is refused without waiting on it.
std::vector<std::uint8_t> read_record(const std::filesystem::path& path, std::size_t size);

// How far a write goes before the rename. kDurable waits until the bytes
// are on the disk, so not even a crash of the whole system loses the new
// file (settings, scores). kAtomic only writes and renames: a crash of the
// program still never leaves a cut-off file, but a crash of the system may
// lose the write or leave the file empty; for files whose loss costs little
// and whose reader finds such damage (the memory of asked questions, written
// after every question), and which should not wait for the disk each time.
enum class Durability { kDurable, kAtomic };

// Replaces the file by exactly these bytes.
void write_record(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                  Durability durability = Durability::kDurable);

// What the line about a damaged file set aside says of it, in Hungarian and
// English: what the file is, as "a sérült eredménylista" / "the damaged
// high-score list", and what the game does instead.
struct DamagedFileNote {
  std::string_view what_hu;
  std::string_view what_en;
  std::string_view then;
};

// Keeps a damaged file as it is, beside it under "<name>.damaged-DATE-TIME"
// (with "-2", "-3" ... when that name is taken), never replacing another
// file, and says so in one line on standard error:
//   zelvanos: WHY; WHAT_HU félretéve ide / WHAT_EN is kept as PATH; THEN
// Returns the new name, or nothing (and says nothing) when the file could
// not be moved.
std::optional<std::filesystem::path> set_aside_damaged(const std::filesystem::path& path, std::string_view why,
                                                       const DamagedFileNote& note);

// Called at the end of every write_record that succeeded, with its path:
// the web page stores its files in the browser there. nullptr for none.
using WriteObserver = void (*)(const std::filesystem::path& path);
void set_write_observer(WriteObserver observer);

// Throws IoError 5 when the file's folder is a symbolic link of another
// user, which no write or lock ever follows.
void refuse_foreign_folder_link(const std::filesystem::path& path);

// Called at the start of every read_record, with its path: the web page
// fetches a file it has not loaded yet there, and the read waits for it.
// nullptr for none.
using ReadObserver = void (*)(const std::filesystem::path& path);
void set_read_observer(ReadObserver observer);

// The file a write of `path` replaces: `path` itself, or, when it is a
// symbolic link of the player's own, the file the link leads to.
std::filesystem::path write_target(const std::filesystem::path& path);

// An advisory lock of the operating system, held through an open file
// descriptor and released when it is closed: at the end of its scope, or by
// the system when the process ends, however it ends.
class HeldLock {
 public:
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;

 protected:
  HeldLock() = default;
  ~HeldLock();
  int fd_ = -1;
};

// The locks live in lock files that only the player can open: a regular
// file of the player's own (mode 0600), created without following links.
// Something else in a lock file's place (a folder, a pipe, a link, another
// user's file) is refused with IoError 5; a file left there by an
// administrator's run (root's) in a folder of the player's own is replaced.
// Where the file system has no locks at all, one line says once that the
// files are not protected there, and the game goes on.

// Held for a whole run on Data\Zelvanos.lock: a second copy of the game on
// the same folder is refused (Fatal 32); a copy that crashed leaves nothing
// behind. Another user's program holding an old lock file open is never
// taken for a copy of the game: the game then runs without the guard, after
// one line saying so. Where the folder cannot hold a lock file (a read-only
// folder) the game runs without it.
class GameFolderLock : private HeldLock {
 public:
  explicit GameFolderLock(const std::filesystem::path& lock_file);
};

// What a record lock does when it cannot be had.
enum class WithoutLock {
  kGoOn,  // one line on standard error, and the change is made without it (the game)
  kFail,  // IoError: 5 for a lock file that is not the player's own, 33 for one held too long
};

// How long a record lock is waited for.
inline constexpr std::chrono::milliseconds kRecordLockPatience{5000};

// Held around a read, change and write of a record file, on "<record>.lock"
// beside it: the player's other programs doing the same to that record wait
// meanwhile. The wait is bounded by kRecordLockPatience and ends at once,
// with SessionEnded, when the session ends (the window closed).
class RecordLock : private HeldLock {
 public:
  explicit RecordLock(const std::filesystem::path& record, WithoutLock otherwise = WithoutLock::kGoOn);
  // The lock file of a record.
  static std::filesystem::path file_of(const std::filesystem::path& record);
};

inline constexpr std::string_view kLockFile = "Data\\Zelvanos.lock";

}  // namespace platform
