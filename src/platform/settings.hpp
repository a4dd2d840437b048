// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings record BEALLITASOK, held for the whole run in CONFIG and
// stored as the single 76-byte record of Data\Config.cfg: its fields, their
// encoding and the file. It sits below every layer that reads a setting
// (game, screen, sound); the settings screens, the factory values and the
// reset belong to the shell (shell/settings.hpp, shell/settings_screens.hpp).

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/shortstring.hpp"

namespace settings {

using platform::ShortString;

// The record, field by field, in the order and at the offsets the file holds
// them (little-endian, no gaps; a name is a length byte and 25 code page 852
// bytes). The factory value of every field is in shell/settings.hpp; the
// label the names program shows is in kNameFields and kNumberFields below.
//
// Every reader takes its field straight from CONFIG. Reading tests no field
// against a range: a value out of range reaches the readers as stored, and
// each reader's handling of it is given with the field. A switch counts as
// on when it holds exactly 1; every other value, 2 or -1 as well as 0, is
// off. The settings screens show a switch as "[KI]" (off) only when it holds
// 0 and as "[BE]" (on) for any other value, and their toggle turns 1 into 0
// and every other value into 1, so a stored 2 shows as on, acts as off, and
// becomes 1 at the first toggle.
//
// CONFIG is written by the start-up (read from the file), the settings
// screens, the reset ALAPBEALLIT, and save_config (the names, from the file).
struct BEALLITASOK {
  // The player's name, 0 to 25 characters; a stored length above 25 reads as
  // 25. Read by the high-score list, which writes it into a new entry.
  // Written only by the names program (zelvanos-beallitasok) and the reset;
  // the game's other writes take it from the file as it stands, and the
  // settings screen points the player to the names program.
  ShortString<25> NEV;
  // The quiz host's name, as NEV. Read by the title screen's greeting.
  // Written only by the names program and the reset.
  ShortString<25> MUSORVEZETO;
  // Read by nothing. Carried through unchanged (the game's writes take it
  // from the file, as they take the names), and set by the reset.
  std::int16_t MUSORVEZETO_EGYEB = 0;
  // Switch: the screen header (LOGO) draws the small "Qavo" logo. Read
  // by the header of every menu and game screen; toggled on the settings
  // menu's "Müködés" page.
  std::int16_t MINILOGO = 0;
  // Switch: the header draws the maker's line at the bottom. Read and
  // toggled as MINILOGO.
  std::int16_t ZORVINLOGO = 0;
  // Switch: the header shows the date line and the holiday greetings. Read
  // and toggled as MINILOGO.
  std::int16_t DATUM = 0;
  // Switch: the header shows the "Made in Hungary" badge. Read and toggled
  // as MINILOGO.
  std::int16_t MADE_IN_HUNGARY = 0;
  // Game mode for question sets 1 and 2: 1 asks each level from its own
  // level file, any other value asks each from a level file drawn at random.
  // Sets 3 to 5 have one file and ignore it. Read by the question loader;
  // the game-mode page writes 1 or 0 and marks "Normál" only for 1.
  std::int16_t JATEKMOD = 0;
  // The question set, 1 to 5: 1 the default level files, 2 the children's,
  // 3 to 5 one file each. Read by the question loader and the question-set
  // page, which writes 1 to 5. Out of range, no question is loaded (the game
  // screen shows what was loaded last, empty in the first game) and the page
  // marks no set.
  std::int16_t KERDESEK = 0;
  // Switch: sound. Tested before every sound is played: by the start-up
  // (which also loads the menu music only when on), the game flow, the
  // lifelines and the answer marking and reveal. A level's sound set is
  // loaded either way. A change takes effect at the next sound: a sound
  // already playing, the menu music too, plays on. Toggled on the settings
  // menu.
  std::int16_t HANGOK = 0;
  // Switch: the question screen writes the answers out slowly, 2 000 ms
  // after the question, then 1 000 ms before each of B, C and D. Read by the
  // question screen; toggled on the settings menu.
  std::int16_t VARAKOZAS = 0;
  // The colours, palette indexes: 0 to 15 the EGA colours, 16 to 255 the VGA
  // default palette's; only 0 to 15 are meant. Written, all three at once,
  // by a colour scheme (shell::kColourSchemes) on the colours page.
  //
  // The frame of the game screen's question, answers and prize ladder row.
  // Drawn with the low byte of the value (256 draws as 0).
  std::uint16_t KERETSZIN = 0;
  // The fill of a marked answer. A value above 255 leaves the fill colour as
  // it was and draws the outline in the value's low byte.
  std::uint16_t JELOLOSZIN = 0;
  // The fill of the right answer's flashes, as JELOLOSZIN.
  std::uint16_t VILLOGOSZIN = 0;
};

inline constexpr std::size_t kSettingsSize = 76;
using SettingsBytes = std::array<std::uint8_t, kSettingsSize>;

// In memory the record is laid out as in the file.
static_assert(sizeof(BEALLITASOK) == kSettingsSize);
static_assert(offsetof(BEALLITASOK, NEV) == 0);
static_assert(offsetof(BEALLITASOK, MUSORVEZETO) == 26);
static_assert(offsetof(BEALLITASOK, MUSORVEZETO_EGYEB) == 52);
static_assert(offsetof(BEALLITASOK, MINILOGO) == 54);
static_assert(offsetof(BEALLITASOK, ZORVINLOGO) == 56);
static_assert(offsetof(BEALLITASOK, DATUM) == 58);
static_assert(offsetof(BEALLITASOK, MADE_IN_HUNGARY) == 60);
static_assert(offsetof(BEALLITASOK, JATEKMOD) == 62);
static_assert(offsetof(BEALLITASOK, KERDESEK) == 64);
static_assert(offsetof(BEALLITASOK, HANGOK) == 66);
static_assert(offsetof(BEALLITASOK, VARAKOZAS) == 68);
static_assert(offsetof(BEALLITASOK, KERETSZIN) == 70);
static_assert(offsetof(BEALLITASOK, JELOLOSZIN) == 72);
static_assert(offsetof(BEALLITASOK, VILLOGOSZIN) == 74);

// The fields as a table, in record order: the field's name, its label in the
// names program (Hungarian / English, UTF-8; empty where the name says all),
// and the member, which gives its place and type.
struct NameField {
  std::string_view name;
  std::string_view label;
  ShortString<25> BEALLITASOK::*member;
};
struct NumberField {
  std::string_view name;
  std::string_view label;
  std::variant<std::int16_t BEALLITASOK::*, std::uint16_t BEALLITASOK::*> member;
};

inline constexpr std::array<NameField, 2> kNameFields = {{
    {"NEV", "Játékos neve / player", &BEALLITASOK::NEV},
    {"MUSORVEZETO", "Műsorvezető / host", &BEALLITASOK::MUSORVEZETO},
}};
inline constexpr std::array<NumberField, 12> kNumberFields = {{
    {"MUSORVEZETO_EGYEB", "", &BEALLITASOK::MUSORVEZETO_EGYEB},
    {"MINILOGO", "MiniLogó / small logo", &BEALLITASOK::MINILOGO},
    {"ZORVINLOGO", "ZorvinLogó / maker's line", &BEALLITASOK::ZORVINLOGO},
    {"DATUM", "Dátum / date line", &BEALLITASOK::DATUM},
    {"MADE_IN_HUNGARY", "Származás / badge", &BEALLITASOK::MADE_IN_HUNGARY},
    {"JATEKMOD", "Játékmód / game mode", &BEALLITASOK::JATEKMOD},
    {"KERDESEK", "Kérdések / question set", &BEALLITASOK::KERDESEK},
    {"HANGOK", "Hangok / sound", &BEALLITASOK::HANGOK},
    {"VARAKOZAS", "Várakozás / slow answers", &BEALLITASOK::VARAKOZAS},
    {"KERETSZIN", "Keretszín / frame colour", &BEALLITASOK::KERETSZIN},
    {"JELOLOSZIN", "Jelölőszín / marking", &BEALLITASOK::JELOLOSZIN},
    {"VILLOGOSZIN", "Villogószín / flash", &BEALLITASOK::VILLOGOSZIN},
}};

// A number field's value as its type reads it (signed or unsigned).
int value_of(const BEALLITASOK& record, const NumberField& field);
// A number field's 16 bits, as the file stores them.
std::uint16_t bits_of(const BEALLITASOK& record, const NumberField& field);
void set_bits(BEALLITASOK& record, const NumberField& field, std::uint16_t bits);

// Field by field, little-endian. A stored name length above 25 reads as 25.
SettingsBytes encode(const BEALLITASOK& record);
BEALLITASOK decode(std::span<const std::uint8_t, kSettingsSize> bytes);

inline constexpr std::string_view kConfigFile = "Data\\Config.cfg";

// The settings of this run: zeros until the start-up reads Data\Config.cfg
// into it, then valid until the program ends.
extern BEALLITASOK CONFIG;

// Reads the first record of Data\Config.cfg into CONFIG; throws IoError.
void load_config();
// Replaces Data\Config.cfg by CONFIG, with NEV, MUSORVEZETO and
// MUSORVEZETO_EGYEB first taken from the file as it is now (the game never
// edits them); throws IoError.
void save_config();

// The first record of a settings file; throws IoError.
BEALLITASOK read_settings(const std::filesystem::path& file);
// How the names program and the web page set the names: the names given
// (code page 852 bytes, already checked by shell/name_rules.hpp) go into the
// record of `file`, every other byte kept, read and replaced under the
// record's lock; with neither given the file is only read. A file that is not
// exactly one settings record, another user's link in place of its folder and
// a lock held too long are refused, the file left as it was. Returns the
// record as the file holds it now; throws IoError.
BEALLITASOK set_names(const std::filesystem::path& file, const std::optional<std::string>& player,
                      const std::optional<std::string>& host);

}  // namespace settings
