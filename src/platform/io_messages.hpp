// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one table of file failures that the game, the names program and the
// question tool share: for a system call that failed, the classic I/O error
// number the game exits with, and what went wrong in Hungarian and English.
//
// The numbers: 2 file not found, 3 path not found, 4 too many open files,
// 5 access denied (also for a folder, pipe or device in place of a file),
// 32 sharing violation (another copy of the game runs on the folder),
// 33 lock violation (a record stayed locked), 100 disk read error (read
// past the end of a file), 101 disk write error.

#include <filesystem>
#include <string>

namespace platform {

// What was being done when a system call failed.
enum class FileStep { kOpen, kRead, kCreate, kWrite };

// One text in both languages (UTF-8).
struct Bilingual {
  std::string hu;
  std::string en;
};

// The classic number for the system error `err` met while doing `step` on
// `path`: a missing file is 2, or 3 when its folder is missing too; an
// error of no classic number of its own is 100 on reading, 101 on writing.
int io_code(FileStep step, int err, const std::filesystem::path& path);

// What a classic number means ("a fájl nem található" / "file not found").
Bilingual code_text(int code);

// The cause behind the system error `err`, as the system names it
// ("nincs több hely a lemezen" / "no space left on the disk").
Bilingual cause_text(int err);

// The whole problem of a failed call: the number's meaning, then the cause
// where the number alone would mislead (access denied, a read or write
// error), and for a write that the old file is kept.
Bilingual problem_text(FileStep step, int err, int code);

}  // namespace platform
