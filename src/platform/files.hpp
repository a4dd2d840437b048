// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Record files relative to the working folder. Reads take the first record
// of a file; writes replace the whole file safely: the record goes to a
// temporary file in the same folder, which is then renamed over the old one,
// so a crash or a full disk never leaves a cut-off file behind.
//
// The temporary file gets an unpredictable name and is created exclusively,
// so nothing planted under a name in the folder is ever written through. A
// symbolic link in place of the file is followed when it belongs to the
// player running the game (the file it names is replaced, its mode kept);
// anyone else's link is replaced by the file itself.
//
// Failures carry the classic I/O error numbers the game exits with:
// 2 file not found, 3 path not found, 4 too many open files,
// 5 access denied, 100 disk read error (read past end of file),
// 101 disk write error; 32 (sharing violation) when another copy of the
// game holds the folder.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.hpp"

namespace platform {

// What was being done when a system call failed.
enum class FileStep { kOpen, kRead, kCreate, kWrite };

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

// Held for a whole run: a second copy of the game on the same folder is
// refused (Fatal 32); a copy that crashed leaves nothing behind. Where the
// folder cannot hold a lock (a read-only folder, no lock support) the game
// runs without it.
class GameFolderLock : private HeldLock {
 public:
  explicit GameFolderLock(const std::filesystem::path& lock_file);
};

// Held around a read, change and write of a record file: other processes
// doing the same to a file of that folder wait for it.
class RecordLock : private HeldLock {
 public:
  explicit RecordLock(const std::filesystem::path& record);
};

inline constexpr std::string_view kLockFile = "Data\\Zelvanos.lock";

}  // namespace platform
