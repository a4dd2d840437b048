// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/outcomes.hpp"

#include <array>
#include <string>
#include <string_view>

#include "game/game.hpp"
#include "game/highscores.hpp"
#include "game/ladder.hpp"
#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "screen/logo.hpp"
#include "screen/reveal.hpp"

using namespace cp852::literals;  // the _cp literal

namespace game {

using namespace platform;

std::int16_t VALASZOL = 0;

namespace {

constexpr std::array<std::string_view, 13> kRight = {
    "Ez a helyes válasz, szép volt!"_cp,
    "Ön \"egy csodálatos elme\", ha lehet ezt mondani"_cp,
    "Lenyűgöző. Ön mindent tud."_cp,
    "Helyes."_cp,
    "Helyes válasz."_cp,
    "Szép megfejtés."_cp,
    "Helyes válasz! Lépjünk tovább..."_cp,
    "Gratulálok, Ön nagyszerűen játszik."_cp,
    "Gratulálok, helyes válasz!"_cp,
    "Hát perszeee..."_cp,
    "Jól van..."_cp,
    "Ön kitűnő logikával rendelkezik."_cp,
    "Remek! Íme a következő..."_cp,
};

// Where the host's words hold "%", they name a prize of the ladder
// (game/ladder.hpp): the guaranteed level's here, the top prize's below.
// Rows 1 and 3 are the same: that text comes two times in three.
constexpr std::array<std::string_view, 3> kGuaranteed = {
    "Ön most már nem távozik üres kézzel. Gratulálok!"_cp,
    "Megvan a garantált %."_cp,
    "Ön most már nem távozik üres kézzel. Gratulálok!"_cp,
};

constexpr std::array<std::array<std::string_view, 2>, 4> kTopPrize = {{
    {"Ezt is helyesen fejtette meg. %."_cp, "Mire fog tudni ennyi pénzt elkölteni? :-)"_cp},
    {"Még ezt is azonnal tudta, mondja, ön kitől tanulta ezeket?"_cp,
     "%. Bárcsak én nyertem volna ennyi pénzt! :-)"_cp},
    {"Gratulálok!"_cp, "% az Öné."_cp},
    {"Mától Ön másfél-zelvanos."_cp, "Gratulálok ehhez a \"csekély\" összeghez."_cp},
}};

// Index 0: nothing won; index 1: the guaranteed sum kept.
constexpr std::array<std::array<std::string_view, 3>, 2> kWrong = {{
    {"Úgy hiszem egy kicsit elsiette a válaszadást."_cp, "Sajnálom, hogy nem sikerült..."_cp,
     "Lehet, hogy egy kicsit elkapkodta a válaszadást..."_cp},
    {"A válasz rossz, de a garantált százmillió az Öné."_cp, "Rosszul döntött, de a garantált százmillió az Öné."_cp,
     "Sajnálom, döntése rossz volt, de a garantált százmillió az Öné."_cp},
}};

constexpr std::string_view kNextPrompt = "A következő kérdéshez nyomjon meg egy billentyűt."_cp;
constexpr std::string_view kMenuPrompt = "A menühöz lépéshez nyomjon meg egy billentyűt"_cp;
constexpr std::string_view kStopPrompt = "A menühöz lépéshez nyomjon meg egy gombot."_cp;

// Reseeds and draws a phrase index 1 .. n.
std::size_t draw(std::size_t n) {
  Randomize();
  VALASZOL = static_cast<std::int16_t>(Random(static_cast<std::int32_t>(n)) + 1);
  return static_cast<std::size_t>(VALASZOL - 1);
}

void line(int offset, std::string_view text) { OutTextXY(100, static_cast<std::int16_t>(Y + offset), text); }

// The words with the level's prize where they hold "%": "1 500 000 000Ft".
std::string naming_prize(std::string_view words, int level) {
  const std::size_t at = words.find('%');
  if (at == std::string_view::npos) return std::string(words);
  return cp852::join({words.substr(0, at), prize(level), "Ft", words.substr(at + 1)});
}

// The praise after a right answer; `prize_level`'s prize stands for "%".
template <std::size_t N>
void praise(const std::array<std::string_view, N>& phrases, int prize_level) {
  screen::JELOL();
  screen::VILLOG();
  line(130, naming_prize(phrases[draw(N)], prize_level));
  line(150, kNextPrompt);
  offer_any_key("Tovább"_cp);
  ReadKey();
}

}  // namespace

void OK() { praise(kRight, X); }

void OK_GARANTALT1() { praise(kGuaranteed, kGuaranteedLevel); }

void OK_VEGE() {
  screen::JELOL();
  screen::VILLOG();
  const auto& phrase = kTopPrize[draw(kTopPrize.size())];
  line(130, naming_prize(phrase[0], kTopLevel));
  line(140, naming_prize(phrase[1], kTopLevel));
  line(160, kMenuPrompt);
  offer_any_key("Tovább"_cp);
  ReadKey();
  X = kTopLevel + 1;
  NYEREMENY = prize(kTopLevel);
  EREDMENY();
}

void ROSSZ() {
  screen::JELOL();
  screen::VILLOG();
  const std::size_t index = draw(3);
  line(130, kWrong[GARANTALT == 1 ? 1 : 0][index]);
  line(150, kMenuPrompt);
  offer_any_key("Tovább"_cp);
  ReadKey();
  if (GARANTALT > 0) EREDMENY();
  VALASZ = "99";
}

void MEGALL() {
  line(130, "Játékon kívül, kérem jelöljön meg egy választ."_cp);
  read_answer("");
  screen::JELOL();
  screen::VILLOG();
  Delay(1000);
  ClearDevice();
  screen::LOGO();
  OutTextXY(100, 60, "Gratulálok nyereményéhez!"_cp);
  OutTextXY(100, 70, cp852::join({"Az ön nyereménye "_cp, NYEREMENY, "Ft"}));
  OutTextXY(100, 90, kStopPrompt);
  offer_any_key("Tovább"_cp);
  ReadKey();
  EREDMENY();
  VALASZ = "99";
}

}  // namespace game
