// SPDX-License-Identifier: GPL-3.0-or-later
// The model of the texts on screen, kept from the drawing calls alone, and
// what each key read declares it asks for: the web page builds its text
// layer and its touch keys from these two.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness.hpp"
#include "platform/backend.hpp"
#include "platform/cp852.hpp"
#include "platform/text_model.hpp"
#include "shell/menu.hpp"

using namespace testing_support;
using platform::TextModel;
using namespace cp852::literals;  // the _cp literal

namespace {

std::string utf8(const TextModel::Text& t) { return cp852::to_utf8(t.bytes); }

std::vector<std::string> shown(const TextModel& m) {
  std::vector<std::string> out;
  for (const auto& t : m.texts()) out.push_back(utf8(t));
  return out;
}

TEST(TextModel, TextsComeWithDrawingAndGoWithWhatCoversThem) {
  TextModel m;
  m.text(100, 60, 15, 1, "Alma");
  m.text(100, 70, 15, 1, "Barack");
  EXPECT_EQ(shown(m), (std::vector<std::string>{"Alma", "Barack"}));
  // A bar over a whole text removes it; over part of one, the characters it covers.
  m.fill(90, 55, 140, 68, 1);
  m.fill(100, 70, 115, 77, 0);
  EXPECT_EQ(shown(m), (std::vector<std::string>{"  rack"}));
  EXPECT_EQ(m.texts()[0].extent().left, 116);
  // A text in the colour of what lies under it erases what it covers.
  m.text(116, 70, 0, 1, "ra");
  EXPECT_EQ(shown(m), (std::vector<std::string>{"    ck"}));
  m.text(132, 70, 0, 1, "ck");
  EXPECT_TRUE(m.texts().empty());
  // A clear leaves nothing.
  m.text(10, 10, 14, 3, "Viszlát!"_cp);
  m.clear();
  EXPECT_TRUE(m.texts().empty());
}

TEST(TextModel, TheSameTextAgainTakesTheNewColourAndATextOnAFillKnowsIt) {
  TextModel m;
  m.text(200, 60, 15, 1, "Játék kezdése"_cp);
  m.text(200, 60, 14, 1, "Játék kezdése"_cp);
  ASSERT_EQ(m.texts().size(), 1U);
  EXPECT_EQ(m.texts()[0].colour, 14) << "the highlight drawn over the item";
  // Marked: the box's strip filled yellow, the answer written in black on it.
  m.text(100, 90, 15, 1, "A: Alma");
  m.fill(96, 86, 324, 98, 14);
  m.text(100, 90, 0, 1, "A: Alma");
  ASSERT_EQ(m.texts().size(), 2U);
  EXPECT_EQ(m.texts()[1].colour, 0);
  EXPECT_EQ(m.texts()[1].background, 14) << "black on yellow is not an erasure";
  // Written over by a longer text in another colour, a text keeps what is not covered.
  m.text(200, 60, 2, 1, "Játék"_cp);
  EXPECT_EQ(shown(m), (std::vector<std::string>{"      kezdése", "A: Alma", "Játék"}));
  // A text off the surface is not drawn, so not kept.
  m.text(-1, 10, 15, 1, "x");
  m.text(10, 600, 15, 1, "x");
  EXPECT_EQ(m.texts().size(), 3U);
}

TEST(TextModel, ATextsFrameIsTheSmallestOutlineAroundIt) {
  TextModel m;
  m.outline(650, 61, 780, 211, 15);
  m.outline(650, 196, 780, 211, 15);
  m.text(670, 201, 14, 1, "5 000 000");
  EXPECT_EQ(m.frame_of(m.texts()[0]), 15);
  m.outline(780, 211, 650, 196, 9);  // the same outline again, in the frame colour
  EXPECT_EQ(m.frame_of(m.texts()[0]), 9);
  m.text(100, 300, 15, 1, "kint");
  EXPECT_EQ(m.frame_of(m.texts()[1]), -1);
  const auto before = m.revision();
  m.fill(640, 50, 790, 220, 0);
  EXPECT_GT(m.revision(), before);
  EXPECT_EQ(m.texts().size(), 1U);
}

// A whole program whose key reads are watched: at each, the texts on
// screen and what the read declared.
class ScreenTexts : public GameTest {
 protected:
  struct Wait {
    std::vector<TextModel::Text> texts;
    platform::KeyOffer offer;
  };

  void SetUp() override {
    GameTest::SetUp();
    write_banks('a');
  }

  void play(std::string_view keys) {
    start(keys);
    waits.clear();
    TextModel model;
    platform::set_text_model(&model);
    recorder->on_key_wait = [&](int) { waits.push_back({model.texts(), platform::key_offer()}); };
    shell::program();
    platform::set_text_model(nullptr);
    platform::set_tracer(nullptr);
    platform::use_backend(nullptr);
  }

  static const TextModel::Text* find(const Wait& w, std::string_view text) {
    for (const auto& t : w.texts) {
      const std::string s = utf8(t);
      const auto from = s.find_first_not_of(' ');
      if (from != std::string::npos && s.substr(from, s.find_last_not_of(' ') - from + 1) == text) return &t;
    }
    return nullptr;
  }
  static std::string labels(const Wait& w) {
    std::string out;
    for (std::size_t i = 0; i < w.offer.keys.size(); ++i) {
      out += (i > 0 ? "," : "") + cp852::to_utf8(w.offer.keys[i].label);
    }
    return out;
  }
  static std::string keys_of(const Wait& w) {
    std::string out;
    for (const auto& k : w.offer.keys) out += k.bytes + "|";
    return out;
  }
  // The texts standing inside a place.
  static std::vector<std::string> inside(const Wait& w, const platform::Place& p) {
    std::vector<std::string> out;
    for (const auto& t : w.texts) {
      const auto e = t.extent();
      if (e.left >= p.left && e.top >= p.top && e.right <= p.right && e.bottom <= p.bottom) {
        out.push_back(utf8(t));
      }
    }
    return out;
  }

  std::vector<Wait> waits;
};

TEST_F(ScreenTexts, AQuestionShowsItsTextAndAnswersAndOffersOnlyWhatItReads) {
  play("Enter t f k m");
  ASSERT_EQ(waits.size(), 6U);
  const Wait& q = waits[1];
  EXPECT_EQ(q.offer.asking, platform::Asking::kQuestion);
  EXPECT_EQ(labels(q), "A,B,C,D,Telefon,Felező,Közönség,Megállás");
  // Each answer stands in its own box, the question in the question's box.
  for (std::size_t i = 0; i < 4; ++i) {
    const auto texts = inside(q, q.offer.keys[i].place);
    ASSERT_EQ(texts.size(), 1U) << i;
    EXPECT_EQ(texts[0].substr(0, 3), std::string(1, static_cast<char>('A' + i)) + ": ");
    EXPECT_EQ(q.offer.keys[i].bytes, std::string(1, static_cast<char>('a' + i)));
  }
  const auto question = inside(q, q.offer.focus);
  ASSERT_FALSE(question.empty());
  EXPECT_EQ(question[0].substr(0, 3), "1. ");
  // The ladder's rows stand too, the current one framed in the frame colour.
  const auto* prize = find(q, "5 000 000");
  ASSERT_NE(prize, nullptr);
  EXPECT_EQ(prize->colour, 9) << "the current row written again in the frame colour";
  EXPECT_TRUE(q.offer.keys[7].confirm) << "a stop is asked twice";
  // The lifelines only in their order, each once: after the telephone the
  // others, after the 50:50 the audience, then only the stop.
  EXPECT_EQ(labels(waits[2]), "A,B,C,D,Felező,Közönség,Megállás");
  EXPECT_EQ(labels(waits[3]), "A,B,C,D,Közönség,Megállás");
  EXPECT_EQ(labels(waits[4]), "A,B,C,D,Megállás");
  EXPECT_EQ(labels(waits[5]), "A,B,C,D") << "stopped: an answer to mark";
  // The 50:50 emptied two boxes: their answers are gone from the texts.
  int answers = 0;
  for (std::size_t i = 0; i < 4; ++i) answers += inside(waits[3], waits[3].offer.keys[i].place).empty() ? 0 : 1;
  EXPECT_EQ(answers, 2);
}

TEST_F(ScreenTexts, EveryKeyAQuestionOffersGoesOnAndNoOtherDoes) {
  // Each key offered at the first question leads to a screen that is not
  // the main menu; a key not offered ends the game at once.
  play("Enter");
  ASSERT_EQ(waits.size(), 2U);
  const auto offered = waits[1].offer.keys;
  for (const auto& key : offered) {
    play("Enter " + key.bytes);
    ASSERT_GE(waits.size(), 3U) << key.bytes;
    EXPECT_NE(waits[2].offer.asking, platform::Asking::kMenu) << key.bytes;
  }
  for (const char* other : {"x", "Esc", "Enter", "Down"}) {
    play(std::string("Enter ") + other);
    ASSERT_GE(waits.size(), 3U) << other;
    EXPECT_EQ(waits[2].offer.asking, platform::Asking::kMenu) << other << " is not offered and ends the game";
  }
}

TEST_F(ScreenTexts, TheOutcomeShowsTheMarkedAndTheRightAnswerByTheirFills) {
  play("Enter b");
  ASSERT_EQ(waits.size(), 3U);
  const Wait& outcome = waits[2];
  EXPECT_EQ(outcome.offer.asking, platform::Asking::kPrompt);
  EXPECT_EQ(labels(outcome), "Tovább");
  EXPECT_EQ(keys_of(outcome), "\r|");
  const auto& question = waits[1];
  const auto background = [&](std::size_t box) {
    for (const auto& t : outcome.texts) {
      const auto e = t.extent();
      const auto& p = question.offer.keys[box].place;
      if (e.left >= p.left && e.top >= p.top && e.right <= p.right && e.bottom <= p.bottom) return t.background;
    }
    return -1;
  };
  EXPECT_EQ(background(1), 14) << "B, the one marked, in the marking colour";
  EXPECT_EQ(background(0), 2) << "A, the right one, in the flash colour";
  EXPECT_EQ(background(2), 0);
}

TEST_F(ScreenTexts, AMenuOffersEachItemDrawnWithTheKeysThatChooseIt) {
  play("");
  ASSERT_EQ(waits.size(), 1U);
  const Wait& menu = waits[0];
  EXPECT_EQ(menu.offer.asking, platform::Asking::kMenu);
  const std::vector<std::string> items = {"Játék kezdése", "Beállítások", "Eredménylista", "Névjegy", "Kilépés"};
  ASSERT_GE(menu.offer.keys.size(), items.size());
  const std::string up{'\0', 'H'}, down{'\0', 'P'};
  const std::vector<std::string> choose = {"\r", down + "\r", down + down + "\r", up + up + "\r", up + "\r"};
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(inside(menu, menu.offer.keys[i].place), std::vector<std::string>{items[i]}) << i;
    EXPECT_EQ(menu.offer.keys[i].bytes, choose[i]) << items[i];
    EXPECT_EQ(find(menu, items[i])->colour, i == 0 ? 14 : 15) << items[i];
  }
  EXPECT_EQ(labels(menu), ",,,,,Fel,Le") << "no Esc in the main menu: its item quits";
  // The keys of the fourth item choose it: the about screen, with its letters.
  play("Up Up Enter Esc");
  const auto about = std::find_if(waits.begin(), waits.end(),
                                  [](const Wait& w) { return w.offer.asking == platform::Asking::kChoice; });
  ASSERT_NE(about, waits.end());
  EXPECT_EQ(labels(*about), "Animáció,Licensz,Köszönet,Vissza");
}

TEST_F(ScreenTexts, TheSettingsScreensOfferTheirOwnKeys) {
  // Settings, colours (with the sample), back, the names' message, the reset question.
  play("Down Enter Down Down Down Down Down Enter Esc Enter Enter Up Up Up Enter i");
  const auto by_label = [&](std::string_view l) {
    return std::find_if(waits.begin(), waits.end(),
                        [&](const Wait& w) { return labels(w).find(l) != std::string::npos; });
  };
  const auto colours = by_label("Minta");
  ASSERT_NE(colours, waits.end());
  EXPECT_EQ(labels(*colours), ",,,,,,,,Fel,Le,Vissza,Minta");
  const auto names = by_label("Vissza");
  ASSERT_NE(names, waits.end());
  const auto message = std::find_if(waits.begin(), waits.end(), [](const Wait& w) { return w.offer.topic == "names"; });
  ASSERT_NE(message, waits.end());
  EXPECT_EQ(labels(*message), "Vissza");
  const auto reset = by_label("Igen");
  ASSERT_NE(reset, waits.end());
  EXPECT_EQ(labels(*reset), "Igen,Nem");
  EXPECT_EQ(keys_of(*reset), "i|n|");
}

TEST_F(ScreenTexts, TheListOffersItsResetAskedTwice) {
  play("Down Down Enter");
  ASSERT_EQ(waits.size(), 6U) << "each arrow is two reads";
  EXPECT_EQ(labels(waits[5]), "Törlés,Vissza");
  EXPECT_TRUE(waits[5].offer.keys[0].confirm);
  EXPECT_FALSE(waits[5].offer.keys[1].confirm);
}

}  // namespace
