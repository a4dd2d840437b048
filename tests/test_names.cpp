// SPDX-License-Identifier: GPL-3.0-or-later
// The names program, run as a program: on a given settings file, for a new
// player (the player's folder, its options and the names it refuses), and
// while the game runs.

#include <gtest/gtest.h>

#include <filesystem>

#include "game/highscores.hpp"
#include "harness.hpp"
#include "platform/settings.hpp"
#include "shell/menu.hpp"
#include "shell/settings.hpp"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// The names program on the settings file of the working folder.
class NamesProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory("Data");
    settings::BEALLITASOK s = factory_settings();
    s.KERETSZIN = 13;
    original = settings::encode(s);
    write_settings_file("Data/Config.cfg", s);
  }
  int names(const std::string& args) {
    return shell_run(std::string(ZELVANOS_NAMES) + " " + args + " >out.txt 2>err.txt");
  }
  ScratchDir dir;
  settings::SettingsBytes original;
};

TEST_F(NamesProgram, ShowsSetsAndRefuses) {
  EXPECT_EQ(names(""), 0);
  EXPECT_NE(testing_support::read_text("out.txt").find("\"Ravasz Ödön\""), std::string::npos);
  EXPECT_EQ(read_file("Data/Config.cfg"), std::vector<std::uint8_t>(original.begin(), original.end()));

  EXPECT_EQ(names("--nev 'Kovács Őrs' --host 'Nagy Ű'"), 0);
  auto bytes = read_file("Data/Config.cfg");
  ASSERT_EQ(bytes.size(), 76U);
  const auto s = settings::decode(std::span<const std::uint8_t, 76>(bytes.data(), 76));
  EXPECT_EQ(s.NEV.view(), "Kov\240cs \x8Ars");
  EXPECT_EQ(s.MUSORVEZETO.view(), "Nagy \xEB");
  EXPECT_EQ(s.KERETSZIN, 13) << "every other field kept";
  EXPECT_EQ(bytes[1 + 12], original[1 + 12]) << "bytes beyond the new name's length kept";

  const auto before = read_file("Data/Config.cfg");
  EXPECT_EQ(names("--player 'Ez a név bizony huszonhat betű'"), 1);
  EXPECT_NE(testing_support::read_text("err.txt").find("25"), std::string::npos);
  EXPECT_EQ(names("--host 'Euro €'"), 1);
  EXPECT_EQ(read_file("Data/Config.cfg"), before) << "a refused name writes nothing";

  EXPECT_EQ(names("--help"), 0);
  EXPECT_NE(testing_support::read_text("out.txt").find("Használat"), std::string::npos);
  EXPECT_NE(testing_support::read_text("out.txt").find("Usage"), std::string::npos);
  EXPECT_EQ(names("--bogus x"), 64);
  EXPECT_EQ(names("--file nincs.cfg"), 2);
  write_file("short.cfg", std::vector<std::uint8_t>(40, 1));
  EXPECT_EQ(names("--file short.cfg --nev x"), 100);
  EXPECT_EQ(read_file("short.cfg").size(), 40U);
}

class NewPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    // An installed game: the program in <prefix>/bin, the data in its place.
    fs::create_directories("usr/bin");
    fs::copy_file(ZELVANOS_NAMES, "usr/bin/zelvanos-beallitasok");
    share = (fs::current_path() / "usr/bin" / ZELVANOS_DATA_FROM_BIN).lexically_normal();
    fs::create_directories(share / "Questions/Default");
    fs::create_directories(share / "Sounds");
    fs::create_directories("home");
    fs::create_directories("elsewhere");
    home = fs::current_path() / "home";
  }
  // Runs the installed copy from an empty folder with this environment.
  int names(const std::string& env, const std::string& args) {
    return shell_run("cd elsewhere && env -u XDG_DATA_HOME -u HOME " + env + " ../usr/bin/zelvanos-beallitasok " +
                     args + " >../out.txt 2>../err.txt");
  }
  std::string err() const { return read_text("err.txt"); }
  settings::BEALLITASOK settings_in(const fs::path& folder) const {
    const auto bytes = read_file(folder / "Data/Config.cfg");
    EXPECT_EQ(bytes.size(), 76U);
    return settings::decode(std::span<const std::uint8_t, 76>(bytes.data(), 76));
  }

  ScratchDir dir;
  fs::path share;
  fs::path home;
};

TEST_F(NewPlayer, TheFolderIsPreparedAsTheLauncherDoesAndTheNameSet) {
  EXPECT_EQ(names("HOME=" + home.string(), "--nev Feri"), 0) << err();
  const fs::path player = home / ".local/share/zelvanos";
  EXPECT_EQ(settings_in(player).NEV.view(), "Feri");
  auto expected = settings_in(player);
  shell::apply_factory_values(expected);
  expected.NEV.assign("Feri");
  const auto expected_bytes = settings::encode(expected);
  EXPECT_EQ(read_file(player / "Data/Config.cfg"),
            std::vector<std::uint8_t>(expected_bytes.begin(), expected_bytes.end()))
      << "factory settings apart from the name";
  game::EREDMENYLISTA reset;
  game::reset_list(reset);
  const auto list = game::encode(reset);
  EXPECT_EQ(read_file(player / "Data/HighScores.cfg"), std::vector<std::uint8_t>(list.begin(), list.end()));
  EXPECT_TRUE(fs::is_symlink(player / "Questions"));
  EXPECT_EQ(fs::canonical(player / "Questions"), fs::canonical(share / "Questions"));
  EXPECT_EQ(fs::canonical(player / "Sounds"), fs::canonical(share / "Sounds"));
  EXPECT_NE(read_text("out.txt").find(player.string()), std::string::npos);

  // A second run, as after some games: nothing of the player's is replaced.
  write_file(player / "Data/HighScores.cfg", std::vector<std::uint8_t>(730, 7));
  fs::remove(player / "Sounds");
  fs::create_directory(player / "Sounds");  // the player's own sounds
  EXPECT_EQ(names("HOME=" + home.string(), "--musorvezeto=Géza"), 0) << err();
  EXPECT_EQ(settings_in(player).NEV.view(), "Feri");
  EXPECT_EQ(settings_in(player).MUSORVEZETO.view(), "G\x82za");
  EXPECT_EQ(read_file(player / "Data/HighScores.cfg"), std::vector<std::uint8_t>(730, 7));
  EXPECT_FALSE(fs::is_symlink(player / "Sounds"));
}

TEST_F(NewPlayer, TheFolderFollowsXdgDataHomeOnlyWhenItIsAbsolute) {
  const fs::path xdg = fs::current_path() / "xdg";
  EXPECT_EQ(names("HOME=" + home.string() + " XDG_DATA_HOME=" + xdg.string(), "--player=Anna"), 0) << err();
  EXPECT_EQ(settings_in(xdg / "zelvanos").NEV.view(), "Anna");
  EXPECT_FALSE(fs::exists(home / ".local"));

  EXPECT_EQ(names("HOME=" + home.string() + " XDG_DATA_HOME=relative/xdg", "--nev Bea"), 0) << err();
  EXPECT_EQ(settings_in(home / ".local/share/zelvanos").NEV.view(), "Bea");
  EXPECT_FALSE(fs::exists("elsewhere/relative"));

  EXPECT_EQ(names("", "--nev Bea"), 1);
  EXPECT_NE(err().find("HOME is not set"), std::string::npos) << err();
  EXPECT_NE(err().find("HOME környezeti változó"), std::string::npos) << err();
  EXPECT_EQ(names("HOME=", "--nev Bea"), 1);
  EXPECT_EQ(names("HOME=home", "--nev Bea"), 1);
  EXPECT_NE(err().find("HOME is not an absolute path"), std::string::npos) << err();
  EXPECT_FALSE(fs::exists("elsewhere/home"));
}

TEST_F(NewPlayer, OptionsAndRefusedNames) {
  const std::string env = "HOME=" + home.string();
  EXPECT_EQ(names(env, "--bogus"), 64);
  EXPECT_NE(err().find("unknown option: --bogus"), std::string::npos) << err();
  EXPECT_NE(err().find("ismeretlen kapcsoló"), std::string::npos);
  EXPECT_EQ(names(env, "--bogus=1"), 64);
  EXPECT_NE(err().find("unknown option: --bogus\n"), std::string::npos) << err();
  EXPECT_EQ(names(env, "Feri"), 64);
  EXPECT_NE(err().find("unexpected argument"), std::string::npos);
  EXPECT_EQ(names(env, "--nev"), 64);
  EXPECT_NE(err().find("missing value: --nev"), std::string::npos);
  EXPECT_FALSE(fs::exists(home / ".local")) << "wrong usage prepares nothing";

  const struct {
    const char* arg;
    const char* says;
  } refused[] = {
      {"--nev ''", "is empty or all blanks"},
      {"--nev '   '", "is empty or all blanks"},
      {"--nev=", "is empty or all blanks"},
      {"--host \"$(printf 'A\\tB')\"", "control character: U+0009 (TAB)"},
      {"--nev \"$(printf 'X\\033[2JY')\"", "control character: U+001B (ESC)"},
      {"--nev \"$(printf 'X\\302\\233Y')\"", "control character: U+009B"},
      {"--nev 'Euro €'", "cannot show: U+20AC"},
      {"--nev \"$(printf 'X\\377')\"", "not valid UTF-8 (byte 2)"},
      {"--nev 'Ez a név bizony huszonhat betű'", "longer than 25 characters"},
  };
  for (const auto& r : refused) {
    EXPECT_EQ(names(env, r.arg), 1) << r.arg;
    const std::string e = err();
    EXPECT_NE(e.find(r.says), std::string::npos) << r.arg << ": " << e;
    EXPECT_EQ(e.find('\033'), std::string::npos) << r.arg << ": echoed raw";
    EXPECT_EQ(e.find("\xC2\x9B"), std::string::npos) << r.arg << ": echoed raw";
  }
  EXPECT_EQ(names(env, "--nev \"$(printf 'X\\377')\""), 1);
  EXPECT_NE(err().find("\"X\\xff\""), std::string::npos) << "echoed with the bad byte escaped: " << err();
  EXPECT_FALSE(fs::exists(home / ".local")) << "a refused name prepares nothing";
}

TEST_F(NewPlayer, IoErrorsNameTheFullPath) {
  EXPECT_EQ(names("HOME=" + home.string(), "--file nincs.cfg"), 2);
  const std::string full = (fs::current_path() / "elsewhere/nincs.cfg").string();
  EXPECT_NE(err().find(full + ": a fájl nem található / file not found (I/O hiba / I/O error 2)"), std::string::npos)
      << err();

  // A player's folder that cannot be made: a file stands where it should be.
  write_file(home / ".local", {1});
  EXPECT_EQ(names("HOME=" + home.string(), "--nev Feri"), 3);
  EXPECT_NE(err().find((home / ".local/share/zelvanos/Data").string() + ": "), std::string::npos) << err();
}

// A name set with the names program while the game is in its settings menu
// survives the menu's next write, and the game goes on with it.
class NamesWhileTheGameRuns : public GameTest {};

TEST_F(NamesWhileTheGameRuns, AreKept) {
  write_banks();
  std::string keys = "Down Enter";              // the settings menu
  for (int i = 0; i < 7; ++i) keys += " Down";  // to "Hangok"
  keys += " Enter Esc Enter a n m a x Esc";     // sound off, back, a game that enters the list
  start(keys);
  int status = -1;
  recorder->on_key_wait = [&status](int n) {
    if (n == 4) {  // the settings menu's first key
      status = shell_run(std::string(ZELVANOS_NAMES) + " --nev Feri --musorvezeto 'Nagy Ödön' >/dev/null");
    }
  };
  const int code = shell::program();
  platform::set_tracer(nullptr);
  platform::use_backend(nullptr);
  EXPECT_EQ(code, 0);
  ASSERT_EQ(status, 0);
  const auto bytes = read_file("Data/Config.cfg");
  const auto s = settings::decode(std::span<const std::uint8_t, 76>(bytes.data(), 76));
  EXPECT_EQ(s.NEV.view(), "Feri");
  EXPECT_EQ(s.MUSORVEZETO.view(), "Nagy \231d\x94n");
  EXPECT_EQ(s.HANGOK, 0) << "the menu's own change is written too";
  const auto list = read_file("Data/HighScores.cfg");
  ASSERT_EQ(list.size(), 730U);
  EXPECT_EQ(game::decode(std::span<const std::uint8_t, 730>(list.data(), 730)).NEV[0].view(), "Feri")
      << "the new name enters the list";
}

// What the program shows: every field in record order, with its label and
// its value as its type reads it, values in one column.
TEST_F(NewPlayer, ShowsEveryFieldOfTheRecord) {
  fs::create_directories("elsewhere/Data");
  settings::BEALLITASOK s;
  shell::apply_factory_values(s);
  s.MUSORVEZETO.assign("Nagy \231d\x94n");
  s.HANGOK = -2;
  s.KERETSZIN = 0xFFFE;
  s.JATEKMOD = 0;
  const auto bytes = settings::encode(s);
  write_file("elsewhere/Data/Config.cfg", std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  ASSERT_EQ(names("HOME=" + home.string(), ""), 0) << err();
  const std::string expected = (fs::current_path() / "elsewhere/Data/Config.cfg").string() + "\n" +
                               "  Játékos neve / player (NEV):                \"ZorvinSoft\"\n"
                               "  Műsorvezető / host (MUSORVEZETO):           \"Nagy Ödön\"\n"
                               "  MUSORVEZETO_EGYEB:                          1\n"
                               "  MiniLogó / small logo (MINILOGO):           1\n"
                               "  ZorvinLogó / maker's line (ZORVINLOGO):     1\n"
                               "  Dátum / date line (DATUM):                  1\n"
                               "  Származás / badge (MADE_IN_HUNGARY):        0\n"
                               "  Játékmód / game mode (JATEKMOD):            0\n"
                               "  Kérdések / question set (KERDESEK):         1\n"
                               "  Hangok / sound (HANGOK):                    -2\n"
                               "  Várakozás / slow answers (VARAKOZAS):       0\n"
                               "  Keretszín / frame colour (KERETSZIN):       65534\n"
                               "  Jelölőszín / marking (JELOLOSZIN):          14\n"
                               "  Villogószín / flash (VILLOGOSZIN):          2\n";
  EXPECT_EQ(read_text("out.txt"), expected);
  EXPECT_FALSE(fs::exists(home / ".local")) << "a Data folder here is used as it is";
}

// The player's settings behind a link that names nothing now (a drive not
// mounted): the link is kept, nothing is written where it points, and the
// program says which file it could not read.
TEST_F(NewPlayer, ALinkThatNamesNothingIsKept) {
  const fs::path data = home / ".local/share/zelvanos/Data";
  fs::create_directories(data);
  const fs::path gone = fs::current_path() / "unmounted/Config.cfg";
  fs::create_symlink(gone, data / "Config.cfg");
  EXPECT_EQ(names("HOME=" + home.string(), "--nev Feri"), 2);
  EXPECT_NE(err().find((data / "Config.cfg").string() + ": "), std::string::npos) << err();
  EXPECT_TRUE(fs::is_symlink(data / "Config.cfg"));
  EXPECT_EQ(fs::read_symlink(data / "Config.cfg"), gone);
  EXPECT_FALSE(fs::exists("unmounted"));
  EXPECT_EQ(read_file(data / "HighScores.cfg").size(), 730U) << "the missing list is still written";
}

}  // namespace
