// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/io_messages.hpp"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace platform {
namespace {

// The number for a file or folder that does not exist: 3 when its folder is
// missing too.
int not_found(const std::filesystem::path& path) {
  std::error_code ec;
  const auto parent = path.parent_path();
  if (!parent.empty() && !std::filesystem::is_directory(parent, ec)) return 3;
  return 2;
}

bool writing(FileStep step) { return step == FileStep::kCreate || step == FileStep::kWrite; }

}  // namespace

int io_code(FileStep step, int err, const std::filesystem::path& path) {
  switch (err) {
    case ENOENT: return not_found(path);
    case ENOTDIR: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ELOOP:
    case ENAMETOOLONG: return 5;
    default: return writing(step) ? 101 : 100;
  }
}

Bilingual code_text(int code) {
  switch (code) {
    case 2: return {"a fájl nem található", "file not found"};
    case 3: return {"a mappa nem található", "path not found"};
    case 4: return {"túl sok a megnyitott fájl", "too many open files"};
    case 5: return {"hozzáférés megtagadva", "access denied"};
    case 32: return {"megosztási hiba", "sharing violation"};
    case 33: return {"zárolási hiba", "lock violation"};
    case 100: return {"lemezolvasási hiba", "disk read error"};
    case 101: return {"lemezírási hiba", "disk write error"};
    default: return {"I/O hiba", "I/O error"};
  }
}

Bilingual cause_text(int err) {
  switch (err) {
    case ENOSPC: return {"nincs több hely a lemezen", "no space left on the disk"};
    case EDQUOT: return {"elfogyott a lemezkvóta", "disk quota exceeded"};
    case EIO: return {"az eszköz bemeneti/kimeneti hibája", "input/output error of the device"};
    case EFBIG: return {"túl nagy a fájl", "file too large"};
    case EROFS: return {"csak olvasható fájlrendszer", "read-only file system"};
    case EISDIR: return {"ez egy mappa", "it is a folder"};
    case ELOOP: return {"túl sok szimbolikus link", "too many symbolic links"};
    case ENAMETOOLONG: return {"túl hosszú név", "name too long"};
    case EACCES:
    case EPERM: return {"nincs jogosultság", std::strerror(err)};
    case ENOENT: return {"nem létezik", "does not exist"};
    case ENOTDIR: return {"az útvonal egy tagja nem mappa", "a part of the path is not a folder"};
    case EMFILE:
    case ENFILE: return {"túl sok a megnyitott fájl", "too many open files"};
    default: return {std::string("rendszerhiba: ") + std::strerror(err), std::strerror(err)};
  }
}

Bilingual problem_text(FileStep step, int err, int code) {
  Bilingual text = code_text(code);
  if (code == 5 || code >= 100) {
    const Bilingual cause = cause_text(err);
    text.hu += ": " + cause.hu;
    text.en += ": " + cause.en;
  }
  if (writing(step)) {
    text.hu += "; a régi fájl megmaradt";
    text.en += "; the old file is kept";
  }
  return text;
}

}  // namespace platform
