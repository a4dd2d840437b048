// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/highscores.hpp"

#include <memory>
#include <string>
#include <utility>

#include "game/game.hpp"
#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/graph.hpp"
#include "platform/settings.hpp"
#include "screen/logo.hpp"

using namespace cp852::literals;  // the _cp literal

namespace game {

using namespace platform;

EREDMENYLISTA HS;

namespace {

bool g_offered = false;  // by EREDMENY, until take_offered_result

constexpr std::size_t kNevAt = 0;
constexpr std::size_t kXAt = kNevAt + 10 * 26;
constexpr std::size_t kPontAt = kXAt + 10 * 2;
constexpr std::size_t kDatumAt = kPontAt + 10 * 26;
constexpr std::size_t kX2At = kDatumAt + 10 * 16;
static_assert(kXAt == 260 && kPontAt == 280 && kDatumAt == 540 && kX2At == 700);
static_assert(kX2At + 10 * 3 == kHighScoresSize);

std::filesystem::path file() { return game_path(kHighScoresFile); }

// Reads the stored list into HS. A missing file leaves HS as it is (the
// list of this run). A damaged one (too short or unreadable) is kept under
// another name beside it, and the list starts afresh as after a reset.
void load_list() {
  std::error_code ec;
  if (!std::filesystem::exists(file(), ec)) return;
  try {
    const auto bytes = read_record(file(), kHighScoresSize);
    HS = decode(std::span<const std::uint8_t, kHighScoresSize>(bytes.data(), kHighScoresSize));
  } catch (const IoError& e) {
    if (e.code() != 100 && e.code() != 5) throw;
    // A pipe, device or folder in the file's place is refused, not moved.
    if (!std::filesystem::is_regular_file(file(), ec)) throw;
    if (!set_aside_damaged(file(), e.what(),
                           {.what_hu = "a sérült eredménylista",
                            .what_en = "the damaged high-score list",
                            .then = "új lista indul / a fresh list starts"})) {
      throw;
    }
    reset_list(HS);
  }
}

void save_list() { write_record(file(), encode(HS)); }

}  // namespace

HighScoreBytes encode(const EREDMENYLISTA& list) {
  HighScoreBytes out{};
  for (std::size_t i = 0; i < 10; ++i) {
    list.NEV[i].store(&out[kNevAt + 26 * i]);
    const auto bits = static_cast<std::uint16_t>(list.X[i]);
    out[kXAt + 2 * i] = static_cast<std::uint8_t>(bits & 0xFF);
    out[kXAt + 2 * i + 1] = static_cast<std::uint8_t>(bits >> 8);
    list.PONT[i].store(&out[kPontAt + 26 * i]);
    list.DATUM[i].store(&out[kDatumAt + 16 * i]);
    list.X2[i].store(&out[kX2At + 3 * i]);
  }
  return out;
}

EREDMENYLISTA decode(std::span<const std::uint8_t, kHighScoresSize> in) {
  EREDMENYLISTA list;
  for (std::size_t i = 0; i < 10; ++i) {
    list.NEV[i] = ShortString<25>::load(&in[kNevAt + 26 * i]);
    list.X[i] = static_cast<std::int16_t>(in[kXAt + 2 * i] | (in[kXAt + 2 * i + 1] << 8));
    list.PONT[i] = ShortString<25>::load(&in[kPontAt + 26 * i]);
    list.DATUM[i] = ShortString<15>::load(&in[kDatumAt + 16 * i]);
    list.X2[i] = ShortString<2>::load(&in[kX2At + 3 * i]);
  }
  return list;
}

void reset_list(EREDMENYLISTA& list) {
  for (std::size_t i = 0; i < 10; ++i) {
    list.NEV[i].assign("ZorvinSoft");
    list.X[i] = 1;
    list.PONT[i].assign("0");
    list.DATUM[i].assign("2005. 1. 1.");
  }
}

void EREDMENY() {
  if (X == 1) return;
  // Read, insert and write as one step: an entry another program writes
  // meanwhile is never lost.
  auto lock = std::make_unique<RecordLock>(file());
  load_list();
  const int right = X - 1;
  // All ten places are compared, so a result that beats only the tenth
  // entry still gets onto the list.
  std::int16_t place = 0;
  for (std::int16_t E = 1; E <= 10 && place == 0; ++E) {
    if (HS.X[static_cast<std::size_t>(E - 1)] <= right) place = E;
  }
  if (place != 0) {
    EREDMENYIR(place);
    lock.reset();
    ClearDevice();
    screen::LOGO();
    OutTextXY(150, 80, "Gratulálok! Felkerült az eredménylistára."_cp);
    Delay(2500);
  }
  g_offered = true;
}

bool take_offered_result() { return std::exchange(g_offered, false); }

void EREDMENYIR(std::int16_t V) {
  for (int W = 9; W >= V; --W) {
    const auto from = static_cast<std::size_t>(W - 1);
    HS.NEV[from + 1] = HS.NEV[from];
    HS.X[from + 1] = HS.X[from];
    HS.PONT[from + 1] = HS.PONT[from];
    HS.DATUM[from + 1] = HS.DATUM[from];
  }
  const auto at = static_cast<std::size_t>(V - 1);
  HS.NEV[at].assign(settings::CONFIG.NEV.view());
  HS.X[at] = static_cast<std::int16_t>(X - 1);
  HS.PONT[at].assign(NYEREMENY);
  // The date of this moment, read afresh: the date line's texts are stale
  // when the header's date line is switched off.
  std::uint16_t year = 0, month = 0, day = 0, weekday = 0;
  GetDate(year, month, day, weekday);
  HS.DATUM[at].assign(std::to_string(year) + ". " + std::to_string(month) + ". " + std::to_string(day));
  save_list();
}

void highscore_screen() {
  ClearDevice();
  screen::LOGO();
  load_list();
  OutTextXY(100, 55, " H. Név                       Ksz. Pontszám          Dátum"_cp);
  const auto row_y = [](std::size_t i) { return static_cast<std::int16_t>(60 + 10 * (i + 1)); };
  for (std::size_t i = 0; i < 10; ++i) {
    const std::string label = i < 9 ? std::string(" ").append(std::to_string(i + 1)).append(". ") : "10. ";
    OutTextXY(100, row_y(i), cp852::join({label, HS.NEV[i].view()}));
  }
  for (std::size_t i = 0; i < 10; ++i) {
    HS.X2[i].assign(std::to_string(HS.X[i]).substr(0, 2));
    OutTextXY(340, row_y(i), HS.X2[i].view());
  }
  for (std::size_t i = 0; i < 10; ++i) OutTextXY(380, row_y(i), HS.PONT[i].view());
  for (std::size_t i = 0; i < 10; ++i) OutTextXY(524, row_y(i), HS.DATUM[i].view());
  OutTextXY(200, 180, "T - Összes eredmény törlése"_cp);
  OutTextXY(150, 190, "A visszalépéshez nyomjon meg egy gombot"_cp);
  offer_keys({Asking::kChoice, {{"t", std::string("Törlés"_cp), {}, true}, {"\r", "Vissza", {}, false}}, {}, {}});
  if (ReadKey() == 't') {
    reset_list(HS);
    save_list();
  }
}

void reset_highscores() {
  HS = EREDMENYLISTA{};
  g_offered = false;
}

}  // namespace game
