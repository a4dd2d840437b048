// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/messages.hpp"

#include <cstdio>
#include <filesystem>

#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/io_messages.hpp"

namespace shell {
namespace {

enum class Kind { kSettings, kScores, kQuestions, kLock, kOther };

Kind kind_of(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  if (path.extension() == ".lock") return Kind::kLock;
  if (name == "Config.cfg") return Kind::kSettings;
  if (name == "HighScores.cfg") return Kind::kScores;
  if (path.extension() == ".lmk") return Kind::kQuestions;
  for (const auto& part : path) {
    if (part == "Questions") return Kind::kQuestions;
  }
  return Kind::kOther;
}

std::string what_file(Kind kind) {
  switch (kind) {
    case Kind::kSettings: return "a játék beállításai";
    case Kind::kScores: return "az eredménylista";
    case Kind::kQuestions: return "egy kérdéssor";
    case Kind::kLock: return "a játék zárolófájlja";
    case Kind::kOther: break;
  }
  return "a játék egyik fájlja";
}

constexpr const char* kFreeSpace =
    "Szabadítson fel helyet a lemezen, és indítsa újra a játékot; a régi fájl megmaradt.";
constexpr const char* kTooMany = "Zárjon be néhány programot, és indítsa újra a játékot.";
constexpr const char* kLauncher =
    "Indítsa a játékot a menüből vagy a „zelvanos” paranccsal: az indító elkészíti a játékos mappáját.";

std::string advice(Kind kind, int code) {
  if (code == 101) return kFreeSpace;
  if (code == 4) return kTooMany;
  switch (kind) {
    case Kind::kSettings:
      if (code == 2 || code == 3) {
        return "Indítsa a játékot a menüből vagy a „zelvanos” paranccsal: az indító létrehozza a gyári "
               "beállításokat.";
      }
      if (code == 5) {
        return "Adjon olvasási és írási jogot a fájlra és a mappájára, vagy törölje a fájlt: az indító a "
               "következő indításkor létrehozza a gyári beállításokat.";
      }
      return "Törölje ezt a fájlt, és indítsa újra a játékot: az indító létrehozza a gyári beállításokat. "
             "A neveket ezután a zelvanos-beallitasok program állítja be újra.";
    case Kind::kScores:
      if (code == 2 || code == 3) return kLauncher;
      if (code == 5) {
        return "Adjon olvasási és írási jogot a fájlra és a mappájára, vagy nevezze át a fájlt: a játék új "
               "eredménylistát kezd.";
      }
      return "Nevezze át vagy törölje ezt a fájlt: a játék új eredménylistát kezd.";
    case Kind::kQuestions:
      if (code == 5) return "Adjon olvasási jogot a fájlra és a mappájára, vagy telepítse újra a játékot.";
      return "Telepítse újra a játékot, vagy válasszon másik kérdéssort a Beállítások / Kérdések menüpontban.";
    case Kind::kLock:
      return "Törölje ezt a fájlt, linket vagy mappát (egy másik felhasználóét a tulajdonosa vagy a rendszergazda "
             "törölheti), és indítsa újra a játékot: a játék saját zárolófájlt készít.";
    case Kind::kOther: break;
  }
  if (code == 5) return "Adjon olvasási és írási jogot a fájlra és a mappájára.";
  return kLauncher;
}

std::size_t characters(std::string_view utf8) {
  std::size_t n = 0;
  for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

// Lines broken at spaces to at most `width` characters (SDL's box on X
// does not wrap); a word longer than that, such as a path, stays whole.
std::string wrapped(std::string_view text, std::size_t width) {
  std::string out;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    while (characters(line) > width) {
      std::size_t cut = std::string_view::npos;
      std::size_t count = 0;
      for (std::size_t i = 0; i < line.size() && count <= width; ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++count;
        if (line[i] == ' ' && count <= width + 1) cut = i;
      }
      if (cut == std::string_view::npos || cut == 0) break;
      out.append(line.substr(0, cut)).push_back('\n');
      line.remove_prefix(cut + 1);
    }
    out.append(line);
    if (end == text.size()) break;
    out.push_back('\n');
    start = end + 1;
  }
  return out;
}

// What is wrong, in Hungarian: as the failure names it, else what its
// number means to a player.
std::string problem_hu(const platform::IoError& failure) {
  if (!failure.problem_hu().empty()) return failure.problem_hu();
  if (failure.code() == 100) return "a fájl sérült: rövidebb egy teljes rekordnál, vagy nem olvasható";
  return platform::code_text(failure.code()).hu;
}

// The marks that turn the direction of the text after them: a name holding
// U+202E would show a different name on a terminal.
bool is_bidi_control(char32_t cp) {
  return cp == 0x061C || cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) ||
         (cp >= 0x2066 && cp <= 0x2069);
}

constexpr std::size_t kBoxWidth = 70;
constexpr const char* kTitle = "Zelvanos – hiba";
constexpr const char* kStopped = "A Zelvanos nem tud tovább futni.\n\n";

}  // namespace

ErrorBox error_box(const platform::Fatal& failure) {
  ErrorBox box{kTitle, kStopped};
  if (const auto* io = dynamic_cast<const platform::IoError*>(&failure)) {
    const Kind kind = kind_of(io->path());
    box.text += "Fájl: " + platform::full_path(io->path()) + " (" + what_file(kind) + ")\n";
    box.text += "Hiba: " + problem_hu(*io) + " (I/O hiba " + std::to_string(io->code()) + ")\n\n";
    box.text += "Teendő: " + advice(kind, io->code());
    box.text = wrapped(box.text, kBoxWidth);
    return box;
  }
  box.text += "Hiba: " + terminal_safe(failure.what()) + "\n\n";
  box.text +=
      "Teendő: indítsa újra a játékot. Ha a hiba megmarad, indítsa a játékot terminálból (zelvanos), "
      "és küldje el a kiírt sort a fejlesztőknek.";
  box.text = wrapped(box.text, kBoxWidth);
  return box;
}

std::string terminal_safe(std::string_view text) {
  std::string out;
  char escape[12];
  for (std::size_t pos = 0; pos < text.size();) {
    const cp852::Decoded d = cp852::decode_utf8(text, pos);
    if (d.length == 0) {
      std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned char>(text[pos]));
      out += escape;
      ++pos;
      continue;
    }
    if (d.cp < 0x20 || d.cp == 0x7F) {
      std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(d.cp));
      out += escape;
    } else if ((d.cp >= 0x80 && d.cp <= 0x9F) || is_bidi_control(d.cp)) {
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(d.cp));
      out += escape;
    } else {
      out.append(text.substr(pos, d.length));
    }
    pos += d.length;
  }
  return out;
}

}  // namespace shell
