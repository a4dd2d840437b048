// zelvanos-beallitasok: shows the game's settings record and sets the
// player's and the quiz host's names, which the game itself never edits.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "shell/settings.hpp"

namespace {

constexpr const char* kHelp =
    "Használat: zelvanos-beallitasok [--fajl FÁJL] [--nev NÉV] [--musorvezeto NÉV]\n"
    "\n"
    "Megmutatja a Zelvanos játék beállításait (alapból a munkakönyvtár\n"
    "Data/Config.cfg fájlját, ha az nincs, a telepített játékét), és\n"
    "beállítja a játékos nevét (--nev) és a műsorvezető nevét (--musorvezeto).\n"
    "Egy név legfeljebb 25 karakter, és csak olyan betűt tartalmazhat, amelyet\n"
    "a játék meg tud jeleníteni (852-es kódlap). A rekord többi része\n"
    "változatlan marad; a fájl biztonságosan, egy ideiglenes fájlon keresztül\n"
    "íródik felül.\n"
    "\n"
    "Usage: zelvanos-beallitasok [--file FILE] [--player NAME] [--host NAME]\n"
    "\n"
    "Shows the Zelvanos game's settings (by default Data/Config.cfg in the\n"
    "working folder, else the installed game's) and sets the player's name (--player, or --nev) and the\n"
    "quiz host's name (--host, or --musorvezeto). A name has at most 25\n"
    "characters, each one the game can show (code page 852). Every other byte\n"
    "of the record is kept; the file is replaced safely, through a temporary\n"
    "file.\n"
    "\n"
    "Exit codes: 0 done, 1 a name was refused, 64 wrong usage, or the game's\n"
    "I/O error number (2 no such file, 3 no such folder, 5 access denied,\n"
    "100 the file is too short).\n";

void show(const std::filesystem::path& file, const shell::BEALLITASOK& s) {
  const auto row = [](std::string_view label, const std::string& value) {
    std::size_t width = 0;  // in characters, not bytes
    for (const char c : label) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    std::cout << "  " << label << std::string(width < 44 ? 44 - width : 1, ' ') << value << "\n";
  };
  const auto name = [](std::string_view bytes) { return "\"" + cp852::to_utf8(bytes) + "\""; };
  std::cout << file.generic_string() << "\n";
  row("Játékos neve / player (NEV):", name(s.NEV.view()));
  row("Műsorvezető / host (MUSORVEZETO):", name(s.MUSORVEZETO.view()));
  row("MUSORVEZETO_EGYEB:", std::to_string(s.MUSORVEZETO_EGYEB));
  row("MiniLogó / small logo (MINILOGO):", std::to_string(s.MINILOGO));
  row("ZorvinLogó / maker's line (ZORVINLOGO):", std::to_string(s.ZORVINLOGO));
  row("Dátum / date line (DATUM):", std::to_string(s.DATUM));
  row("Származás / badge (MADE_IN_HUNGARY):", std::to_string(s.MADE_IN_HUNGARY));
  row("Játékmód / game mode (JATEKMOD):", std::to_string(s.JATEKMOD));
  row("Kérdések / question set (KERDESEK):", std::to_string(s.KERDESEK));
  row("Hangok / sound (HANGOK):", std::to_string(s.HANGOK));
  row("Várakozás / slow answers (VARAKOZAS):", std::to_string(s.VARAKOZAS));
  row("Keretszín / frame colour (KERETSZIN):", std::to_string(s.KERETSZIN));
  row("Jelölőszín / marking (JELOLOSZIN):", std::to_string(s.JELOLOSZIN));
  row("Villogószín / flash (VILLOGOSZIN):", std::to_string(s.VILLOGOSZIN));
}

// The name in code page 852, or a message saying why not.
std::optional<std::string> checked_name(const std::string& utf8, std::string* why) {
  cp852::ConversionError e;
  auto bytes = cp852::from_utf8(utf8, &e);
  if (!bytes) {
    *why = e.malformed ? "nem érvényes UTF-8 / not valid UTF-8"
                       : "olyan betűt tartalmaz, amelyet a játék nem tud megjeleníteni / has a character the game "
                         "cannot show";
    return std::nullopt;
  }
  if (bytes->size() > 25) {
    *why = "hosszabb 25 karakternél / is longer than 25 characters";
    return std::nullopt;
  }
  return bytes;
}

int usage(const std::string& message) {
  std::cerr << "zelvanos-beallitasok: " << message << "\n\n" << kHelp;
  return 64;
}

// The settings of the game in this folder; failing that, those of the
// installed game's player folder.
std::filesystem::path default_file() {
  const std::filesystem::path here = platform::game_path(shell::kConfigFile);
  std::error_code ec;
  if (std::filesystem::exists(here, ec)) return here;
  std::filesystem::path data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
    data = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    data = std::filesystem::path(home) / ".local" / "share";
  }
  const std::filesystem::path installed = data / "zelvanos" / here;
  return !data.empty() && std::filesystem::exists(installed, ec) ? installed : here;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path file = default_file();
  std::optional<std::string> player;
  std::optional<std::string> host;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "--sugo") {
      std::cout << kHelp;
      return 0;
    }
    if (i + 1 >= argc) return usage("hiányzik az érték / missing value: " + arg);
    const std::string value = argv[++i];
    if (arg == "--fajl" || arg == "--file") {
      file = value;
    } else if (arg == "--nev" || arg == "--player") {
      player = value;
    } else if (arg == "--musorvezeto" || arg == "--host") {
      host = value;
    } else {
      return usage("ismeretlen kapcsoló / unknown option: " + arg);
    }
  }
  try {
    const platform::RecordLock lock(file);  // no change made meanwhile is lost
    const auto bytes = platform::read_record(file, shell::kSettingsSize);
    shell::BEALLITASOK s = shell::decode(std::span<const std::uint8_t, shell::kSettingsSize>(bytes.data(), bytes.size()));
    // Sets one name; false (after saying why) when it is refused.
    const auto set = [](const std::optional<std::string>& given, std::string_view what, auto& field) {
      if (!given) return true;
      std::string why;
      const auto name = checked_name(*given, &why);
      if (!name) {
        std::cerr << "zelvanos-beallitasok: " << what << " \"" << *given << "\" " << why << "\n";
        return false;
      }
      field.assign(*name);
      return true;
    };
    if (!set(player, "a játékos neve / the player's name", s.NEV)) return 1;
    if (!set(host, "a műsorvezető neve / the host's name", s.MUSORVEZETO)) return 1;
    if (player || host) platform::write_record(file, shell::encode(s));
    show(file, s);
  } catch (const platform::Fatal& e) {
    std::cerr << "zelvanos-beallitasok: " << e.what() << "\n";
    return e.code();
  }
  return 0;
}
