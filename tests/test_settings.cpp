// SPDX-License-Identifier: GPL-3.0-or-later
// The settings record and its file.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "game/highscores.hpp"
#include "harness.hpp"
#include "platform/backend.hpp"
#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/settings.hpp"
#include "shell/factory_files.hpp"
#include "shell/menu.hpp"
#include "shell/settings.hpp"
#include "shell/settings_screens.hpp"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

std::vector<std::uint8_t> factory_bytes() {
  std::vector<std::uint8_t> b(76, 0);
  const std::string name = "ZorvinSoft";
  const std::string host = "Ravasz \231d\x94n";  // Ödön in code page 852
  b[0] = static_cast<std::uint8_t>(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) b[1 + i] = static_cast<std::uint8_t>(name[i]);
  b[26] = static_cast<std::uint8_t>(host.size());
  for (std::size_t i = 0; i < host.size(); ++i) b[27 + i] = static_cast<std::uint8_t>(host[i]);
  const int numbers[] = {1, 1, 1, 1, 0, 1, 1, 1, 0, 9, 14, 2};
  for (int i = 0; i < 12; ++i) b[52 + 2 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(numbers[i]);
  return b;
}

TEST(SettingsRecord, FactoryBytesAndFieldOrder) {
  settings::BEALLITASOK s;
  shell::apply_factory_values(s);
  const auto bytes = settings::encode(s);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), factory_bytes());

  s.KERETSZIN = 0xBEEF;
  s.HANGOK = -2;
  const auto changed = settings::encode(s);
  EXPECT_EQ(changed[70], 0xEF);
  EXPECT_EQ(changed[71], 0xBE);
  EXPECT_EQ(changed[66], 0xFE);
  EXPECT_EQ(changed[67], 0xFF);
  const auto back = settings::decode(changed);
  EXPECT_EQ(back.KERETSZIN, 0xBEEF);
  EXPECT_EQ(back.HANGOK, -2);
  EXPECT_EQ(settings::encode(back), changed);
}

TEST(SettingsRecord, NameBytesBeyondTheLengthSurviveAndLongLengthsAreCut) {
  auto raw = factory_bytes();
  raw[0] = 3;  // "Zor", with "vinSoft" left behind the length
  raw[20] = 'Q';
  raw[26] = 200;
  const auto s = settings::decode(std::span<const std::uint8_t, 76>(raw.data(), 76));
  EXPECT_EQ(s.NEV.view(), "Zor");
  EXPECT_EQ(s.MUSORVEZETO.view().size(), 25U);
  auto again = settings::encode(s);
  EXPECT_EQ(again[20], 'Q');
  EXPECT_EQ(again[26], 25);
  raw[26] = 25;
  EXPECT_EQ(std::vector<std::uint8_t>(again.begin(), again.end()), raw);

  // The reset writes the factory names over the old bytes, keeping the tail.
  settings::BEALLITASOK t = s;
  t.NEV.chars.fill('x');
  shell::apply_factory_values(t);
  EXPECT_EQ(t.NEV.view(), "ZorvinSoft");
  EXPECT_EQ(t.NEV.chars[10], 'x');
}

TEST(SettingsRecord, ColourSchemesAreRecognised) {
  settings::BEALLITASOK s;
  for (int i = 0; i < 6; ++i) {
    const auto& c = shell::kColourSchemes[static_cast<std::size_t>(i)];
    s.KERETSZIN = c.KERETSZIN;
    s.JELOLOSZIN = c.JELOLOSZIN;
    s.VILLOGOSZIN = c.VILLOGOSZIN;
    EXPECT_EQ(shell::current_scheme(s), i + 1);
  }
  s.KERETSZIN = 15;
  s.JELOLOSZIN = 3;
  EXPECT_EQ(shell::current_scheme(s), 0);
  s.KERETSZIN = 9;
  EXPECT_EQ(shell::current_scheme(s), 1) << "frame colour 9 alone makes scheme 1";
  // A frame colour no other scheme has decides alone; frame 15 (three
  // schemes) needs the marking colour too; the flash colour never counts.
  for (const auto& [frame, marking, flash, scheme] : std::vector<std::array<int, 4>>{{0, 1, 1, 3},
                                                                                     {13, 0, 0, 4},
                                                                                     {15, 6, 0, 2},
                                                                                     {15, 15, 300, 5},
                                                                                     {15, 9, 9, 6},
                                                                                     {15, 14, 2, 0},
                                                                                     {9 + 256, 14, 2, 0},
                                                                                     {15 + 256, 6, 14, 0},
                                                                                     {15, 6 + 256, 14, 0},
                                                                                     {14, 14, 2, 0}}) {
    s.KERETSZIN = static_cast<std::uint16_t>(frame);
    s.JELOLOSZIN = static_cast<std::uint16_t>(marking);
    s.VILLOGOSZIN = static_cast<std::uint16_t>(flash);
    EXPECT_EQ(shell::current_scheme(s), scheme) << frame << " " << marking << " " << flash;
  }
}

class SettingsFile : public ::testing::Test {
 protected:
  ScratchDir dir;
};

TEST_F(SettingsFile, ReadingTakesTheFirstRecordOfALongFileAndRefusesAShortOne) {
  fs::create_directory("Data");
  auto bytes = factory_bytes();
  bytes[66] = 2;  // sound stored as 2: off, and kept so
  auto longer = bytes;
  longer.insert(longer.end(), 30, 0xAA);
  write_file("Data/Config.cfg", longer);
  settings::load_config();
  EXPECT_EQ(settings::CONFIG.HANGOK, 2);
  settings::save_config();
  EXPECT_EQ(read_file("Data/Config.cfg"), bytes) << "the next write leaves exactly one record";

  write_file("Data/Config.cfg", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 75));
  std::string what;
  EXPECT_TRUE(fails_with_io_error(100, settings::load_config, &what)) << "a 75-byte file was accepted";
  EXPECT_NE(what.find("Config.cfg"), std::string::npos) << what;
  fs::remove("Data/Config.cfg");
  EXPECT_TRUE(fails_with_io_error(2, settings::load_config)) << "file not found";
  fs::remove_all("Data");
  EXPECT_TRUE(fails_with_io_error(3, settings::load_config)) << "path not found";
}

TEST_F(SettingsFile, FailedWritesKeepTheOldFile) {
  EXPECT_TRUE(fails_with_io_error(3, settings::save_config)) << "wrote without a Data folder";
  EXPECT_FALSE(fs::exists("Data")) << "the folder is never created";

  fs::create_directories("Data/Config.cfg");
  EXPECT_TRUE(fails_with_io_error(5, settings::save_config)) << "wrote over a folder";
  fs::remove("Data/Config.cfg");

  const auto old = factory_bytes();
  write_file("Data/Config.cfg", old);
  fs::permissions("Data/Config.cfg", fs::perms::owner_read);
  fs::permissions("Data", fs::perms::owner_read | fs::perms::owner_exec);
  if (::access("Data/Config.cfg", W_OK) == 0) GTEST_SKIP() << "running with rights that ignore file permissions";
  settings::CONFIG = {};
  EXPECT_TRUE(fails_with_io_error(5, settings::save_config)) << "wrote into a read-only folder";
  fs::permissions("Data", fs::perms::owner_all);
  EXPECT_EQ(read_file("Data/Config.cfg"), old);
  for (const auto& entry : fs::directory_iterator("Data")) {
    EXPECT_TRUE(entry.path().filename() == "Config.cfg" || entry.path().filename() == "Config.cfg.lock")
        << entry.path() << " left";
  }
}

TEST_F(SettingsFile, WritesReplaceTheWholeFileAtomically) {
  fs::create_directory("Data");
  auto longer = factory_bytes();
  longer.resize(300, 0x55);
  write_file("Data/Config.cfg", longer);
  shell::apply_factory_values(settings::CONFIG = {});
  settings::save_config();
  EXPECT_EQ(read_file("Data/Config.cfg"), factory_bytes());
  EXPECT_EQ(std::distance(fs::directory_iterator("Data"), fs::directory_iterator{}), 2) << "the file and its lock";
  EXPECT_TRUE(fs::is_regular_file("Data/Config.cfg.lock"));
  EXPECT_EQ(platform::game_path("Data\\Config.cfg"), fs::path("Data") / "Config.cfg");

  // What a crash left behind is cleared by the next write; a write that may
  // still be going on, and other files, are left alone.
  write_file("Data/Config.cfg.zelvanos-tmp-0123456789", {1, 2, 3});
  fs::last_write_time("Data/Config.cfg.zelvanos-tmp-0123456789",
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  write_file("Data/Config.cfg.zelvanos-tmp-abcdefghij", {1});
  write_file("Data/Config.cfg.tmp4242", {1});
  fs::last_write_time("Data/Config.cfg.tmp4242", fs::file_time_type::clock::now() - std::chrono::hours(1));
  settings::save_config();
  EXPECT_FALSE(fs::exists("Data/Config.cfg.zelvanos-tmp-0123456789"));
  EXPECT_TRUE(fs::exists("Data/Config.cfg.zelvanos-tmp-abcdefghij"));
  EXPECT_TRUE(fs::exists("Data/Config.cfg.tmp4242")) << "a name a person may give";
}

// The names belong to the names program, which may change them while the
// game runs: every write of the game takes them from the file.
TEST_F(SettingsFile, WritesKeepTheNamesTheFileHoldsNow) {
  fs::create_directory("Data");
  auto bytes = factory_bytes();
  write_file("Data/Config.cfg", bytes);
  settings::load_config();

  settings::BEALLITASOK changed = settings::CONFIG;
  changed.NEV.assign("Feri");
  changed.MUSORVEZETO.assign("Nagy \x99");
  changed.MUSORVEZETO_EGYEB = 7;
  changed.HANGOK = 0;  // not the names program's: the game's value wins
  const auto outside = settings::encode(changed);
  write_file("Data/Config.cfg", {outside.begin(), outside.end()});

  settings::CONFIG.KERETSZIN = 13;
  settings::save_config();
  const auto s = settings::decode(std::span<const std::uint8_t, 76>(read_file("Data/Config.cfg").data(), 76));
  EXPECT_EQ(s.NEV.view(), "Feri");
  EXPECT_EQ(s.MUSORVEZETO.view(), "Nagy \x99");
  EXPECT_EQ(s.MUSORVEZETO_EGYEB, 7);
  EXPECT_EQ(s.KERETSZIN, 13);
  EXPECT_EQ(s.HANGOK, 1);
  EXPECT_EQ(settings::CONFIG.NEV.view(), "Feri") << "the running game uses the new name from now on";

  // The reset too leaves the names to the names program.
  platform::reset_state();
  platform::HeadlessBackend backend;
  platform::use_backend(&backend);
  shell::ALAPBEALLIT();
  platform::use_backend(nullptr);
  const auto r = settings::decode(std::span<const std::uint8_t, 76>(read_file("Data/Config.cfg").data(), 76));
  EXPECT_EQ(r.NEV.view(), "Feri");
  EXPECT_EQ(r.MUSORVEZETO_EGYEB, 7);
  EXPECT_EQ(r.KERETSZIN, 9);

  // With no whole record to take them from, the game's own are written.
  write_file("Data/Config.cfg", std::vector<std::uint8_t>(10, 0));
  settings::save_config();
  EXPECT_EQ(settings::decode(std::span<const std::uint8_t, 76>(read_file("Data/Config.cfg").data(), 76)).NEV.view(),
            "Feri");
}

// How the names program and the web page set the names: one function.
TEST_F(SettingsFile, SettingTheNamesKeepsEveryOtherByte) {
  fs::create_directory("Data");
  const fs::path file = "Data/Config.cfg";
  auto bytes = factory_bytes();
  bytes[45] = 'Q';   // past the host name's length
  bytes[52] = 0x81;  // MUSORVEZETO_EGYEB, which nothing reads
  bytes[66] = 2;     // sound stored as 2
  bytes[75] = 0xFE;  // the flash colour's high byte
  write_file(file, bytes);

  const auto shown = settings::set_names(file, std::nullopt, std::nullopt);
  EXPECT_EQ(read_file(file), bytes) << "with no name given the file is only read";
  EXPECT_EQ(settings::encode(shown),
            settings::encode(settings::decode(std::span<const std::uint8_t, 76>(bytes.data(), 76))));

  const auto set = settings::set_names(file, std::string("Feri \x99"), std::nullopt);
  auto expected = bytes;
  expected[0] = 6;
  std::copy_n("Feri \x99", 6, expected.begin() + 1);
  EXPECT_EQ(read_file(file), expected) << "one record written, every byte but the player's name kept";
  EXPECT_EQ(set.NEV.view(), "Feri \x99");

  settings::set_names(file, std::nullopt, std::string("\231d\x94n"));
  const auto after = read_file(file);
  EXPECT_EQ(std::vector<std::uint8_t>(after.begin() + 26, after.begin() + 31),
            (std::vector<std::uint8_t>{4, 0231, 'd', 0x94, 'n'}));
  EXPECT_EQ(std::vector<std::uint8_t>(after.begin() + 52, after.end()),
            std::vector<std::uint8_t>(expected.begin() + 52, expected.end()));
  EXPECT_EQ(std::vector<std::uint8_t>(after.begin(), after.begin() + 26),
            std::vector<std::uint8_t>(expected.begin(), expected.begin() + 26));

  // Only a whole settings record is taken: neither a short file nor a longer
  // one (another file given by mistake) is cut to a record.
  for (const std::size_t size : {75, 78}) {
    std::vector<std::uint8_t> other = expected;
    other.resize(size, 0xAA);
    write_file(file, other);
    EXPECT_TRUE(fails_with_io_error(100, [&] { settings::set_names(file, std::string("Feri"), std::nullopt); }));
    EXPECT_EQ(read_file(file), other) << size << " bytes are refused and left as they are";
  }
}

TEST_F(SettingsFile, TheResetWritesFactoryValuesAndSaysSo) {
  fs::create_directory("Data");
  platform::reset_state();
  platform::HeadlessBackend backend;
  platform::Recorder recorder(backend);
  platform::use_backend(&backend);
  platform::set_tracer(&recorder);
  settings::CONFIG = {};
  settings::CONFIG.KERETSZIN = 4;
  settings::CONFIG.HANGOK = 0;
  shell::ALAPBEALLIT();
  platform::set_tracer(nullptr);
  platform::use_backend(nullptr);
  EXPECT_EQ(read_file("Data/Config.cfg"), factory_bytes());
  EXPECT_EQ(recorder.texts().at(0).utf8, "Beállítások visszaállítva");
  EXPECT_EQ(recorder.texts().at(0).x, 200);
  EXPECT_EQ(recorder.texts().at(0).y, 80);
  EXPECT_EQ(backend.now(), 2000U);
}

// Each number field at its own offset, read with its own signedness: a table
// row out of order or of the wrong type would move or misread a value.
// The settings file damaged while the game runs (cut to 30 bytes while the
// settings menu is open): the menu's next write keeps the damaged file
// beside it under another name, as the high-score list's rule has it, says
// so in one line, and writes the game's settings afresh. A pipe in its place
// is refused as at start.
class SettingsWhileTheGameRuns : public GameTest {
 protected:
  // The settings menu opened, `damage` done at its first key wait, then one
  // more pass of the menu and out.
  int run_damaging(const std::function<void()>& damage) {
    write_banks();
    start("Down Enter Down Esc Esc");
    recorder->on_key_wait = [&damage](int n) {
      if (n == 4) damage();  // the settings menu's first key
    };
    auto [code, err] = capture_stderr(shell::program);
    captured_stderr = std::move(err);
    platform::set_tracer(nullptr);
    platform::use_backend(nullptr);
    return code;
  }
  std::vector<fs::path> damaged() const {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator("Data")) {
      if (e.path().filename().string().starts_with("Config.cfg.damaged-")) out.push_back(e.path());
    }
    return out;
  }
};

TEST_F(SettingsWhileTheGameRuns, ADamagedFileIsKeptAsideAndSaid) {
  const auto whole = factory_bytes();
  const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + 30);
  EXPECT_EQ(run_damaging([&] { write_file("Data/Config.cfg", cut); }), 0) << captured_stderr;
  const auto kept = damaged();
  ASSERT_EQ(kept.size(), 1U) << "the damaged file was not kept: " << captured_stderr;
  EXPECT_EQ(read_file(kept[0]), cut);
  EXPECT_EQ(read_file("Data/Config.cfg"), factory_bytes()) << "the game's settings written afresh";
  EXPECT_EQ(std::count(captured_stderr.begin(), captured_stderr.end(), '\n'), 1) << captured_stderr;
  EXPECT_NE(captured_stderr.find("file too short: 30 of 76 bytes"), std::string::npos) << captured_stderr;
  EXPECT_NE(captured_stderr.find("the damaged settings file is kept as " + fs::absolute(kept[0]).string()),
            std::string::npos)
      << captured_stderr;
}

TEST_F(SettingsWhileTheGameRuns, APipeInItsPlaceIsRefused) {
  EXPECT_EQ(run_damaging([] {
              fs::remove("Data/Config.cfg");
              ::mkfifo("Data/Config.cfg", 0600);
            }),
            5);
  EXPECT_NE(captured_stderr.find("Config.cfg: access denied: it is a named pipe, not a file"), std::string::npos)
      << captured_stderr;
  struct stat st = {};
  EXPECT_TRUE(::lstat("Data/Config.cfg", &st) == 0 && S_ISFIFO(st.st_mode)) << "the pipe was replaced";
  EXPECT_TRUE(damaged().empty());
}

TEST(SettingsRecord, EveryNumberFieldHasItsOwnPlaceAndSign) {
  settings::BEALLITASOK s;
  s.MUSORVEZETO_EGYEB = -1;
  s.MINILOGO = 2;
  s.ZORVINLOGO = 3;
  s.DATUM = 4;
  s.MADE_IN_HUNGARY = 5;
  s.JATEKMOD = 6;
  s.KERDESEK = 7;
  s.HANGOK = -8;
  s.VARAKOZAS = 0x109;
  s.KERETSZIN = 0xFFF6;
  s.JELOLOSZIN = 11;
  s.VILLOGOSZIN = 0x20C;
  const auto bytes = settings::encode(s);
  const std::uint16_t stored[] = {0xFFFF, 2, 3, 4, 5, 6, 7, 0xFFF8, 0x109, 0xFFF6, 11, 0x20C};
  for (std::size_t i = 0; i < 12; ++i) {
    const std::size_t at = 52 + 2 * i;
    EXPECT_EQ(bytes[at] | (bytes[at + 1] << 8), stored[i]) << "at offset " << at;
  }
  const int values[] = {-1, 2, 3, 4, 5, 6, 7, -8, 0x109, 0xFFF6, 11, 0x20C};
  const auto back = settings::decode(bytes);
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(settings::value_of(back, settings::kNumberFields[i]), values[i]) << settings::kNumberFields[i].name;
  }
  EXPECT_EQ(back.HANGOK, -8);
  EXPECT_EQ(back.KERETSZIN, 0xFFF6);
  EXPECT_EQ(back.VILLOGOSZIN, 0x20C);
}

// A new Data folder's files: written where there are none, and nothing that
// is there replaced, a link that names nothing (its file may be on a drive
// not mounted now) as little as a player's file.
class FactoryFiles : public ::testing::Test {
 protected:
  ScratchDir dir;
};

TEST_F(FactoryFiles, AreWrittenOnlyWhereNothingIsThere) {
  fs::create_directory("Data");
  shell::write_factory_files("Data");
  EXPECT_EQ(read_file("Data/Config.cfg"), factory_bytes());
  game::EREDMENYLISTA reset;
  game::reset_list(reset);
  const auto list = game::encode(reset);
  EXPECT_EQ(read_file("Data/HighScores.cfg"), std::vector<std::uint8_t>(list.begin(), list.end()));

  write_file("Data/Config.cfg", std::vector<std::uint8_t>(76, 3));
  fs::remove("Data/HighScores.cfg");
  shell::write_factory_files("Data");
  EXPECT_EQ(read_file("Data/Config.cfg"), std::vector<std::uint8_t>(76, 3)) << "the player's settings stay";
  EXPECT_EQ(read_file("Data/HighScores.cfg").size(), 730U) << "the missing one is written";

  fs::create_directory("elsewhere");
  fs::remove("Data/Config.cfg");
  fs::remove("Data/HighScores.cfg");
  fs::create_symlink(fs::current_path() / "elsewhere/Config.cfg", "Data/Config.cfg");
  fs::create_symlink("../unmounted/HighScores.cfg", "Data/HighScores.cfg");
  shell::write_factory_files("Data");
  EXPECT_TRUE(fs::is_symlink("Data/Config.cfg"));
  EXPECT_TRUE(fs::is_symlink("Data/HighScores.cfg"));
  EXPECT_FALSE(fs::exists("elsewhere/Config.cfg")) << "nothing written where the link points";
  EXPECT_FALSE(fs::exists("unmounted"));
}

TEST_F(FactoryFiles, AFolderThatIsNotThereIsAnIoError) {
  try {
    shell::write_factory_files("Data");
    FAIL() << "wrote without a Data folder";
  } catch (const platform::IoError& e) {
    EXPECT_EQ(e.code(), 3);
    EXPECT_EQ(e.path(), fs::path("Data/Config.cfg"));
  }
  EXPECT_FALSE(fs::exists("Data"));
}

}  // namespace
