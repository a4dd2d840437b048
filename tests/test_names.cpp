// SPDX-License-Identifier: GPL-3.0-or-later
// The names program, run as a program: on a given settings file, for a new
// player (the player's folder, its options and the names it refuses), and
// while the game runs.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <unistd.h>

#include "game/highscores.hpp"
#include "harness.hpp"
#include "platform/files.hpp"
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

// Only a settings file is ever written: a file given by mistake (the
// high-score list, a file one byte longer or shorter) is refused and left
// exactly as it was, with no lock file made beside it.
TEST_F(NamesProgram, TouchesNothingButASettingsFile) {
  game::EREDMENYLISTA list;
  game::reset_list(list);
  const auto scores = game::encode(list);
  write_file("Data/HighScores.cfg", {scores.begin(), scores.end()});
  auto longer = std::vector<std::uint8_t>(original.begin(), original.end());
  longer.push_back(0);
  write_file("longer.cfg", longer);
  write_file("shorter.cfg", std::vector<std::uint8_t>(original.begin(), original.end() - 1));
  for (const char* file : {"Data/HighScores.cfg", "longer.cfg", "shorter.cfg"}) {
    const auto before = read_file(file);
    EXPECT_EQ(names(std::string("--file ") + file + " --nev X"), 100) << file;
    EXPECT_EQ(read_file(file), before) << file;
    EXPECT_FALSE(fs::exists(std::string(file) + ".lock")) << file;
  }
  EXPECT_NE(
      read_text("err.txt").find("shorter.cfg: a fájl sérült: túl rövid, 75 bájt a(z) 76 helyett / file too short"),
      std::string::npos)
      << read_text("err.txt");
  EXPECT_EQ(names("--file Data/HighScores.cfg"), 100) << "not shown as settings either";
  EXPECT_NE(read_text("err.txt").find("HighScores.cfg: nem beállításfájl: 730 bájt, a beállítások rekordja 76; semmi "
                                      "sem változott / not a settings file: 730 bytes, where the settings record has "
                                      "76; nothing was changed (I/O hiba / I/O error 100)"),
            std::string::npos)
      << read_text("err.txt");
  EXPECT_EQ(names("--file Data/Config.cfg --nev X"), 0) << read_text("err.txt");
}

// Another program of the player's holding the settings' lock: the names
// program waits a few seconds, then says so and changes nothing.
TEST_F(NamesProgram, ALockHeldTooLongIsToldNotWaitedForEndlessly) {
  EXPECT_EQ(names("--nev Feri"), 0);  // makes the lock file
  const int held = ::open("Data/Config.cfg.lock", O_RDWR | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const auto before = read_file("Data/Config.cfg");
  EXPECT_EQ(names("--nev Bea"), 33);
  ::close(held);
  EXPECT_NE(read_text("err.txt").find("Config.cfg.lock: zárolási hiba: egy másik program"), std::string::npos)
      << read_text("err.txt");
  EXPECT_NE(read_text("err.txt").find("lock violation: another program"), std::string::npos) << read_text("err.txt");
  EXPECT_EQ(read_file("Data/Config.cfg"), before);
  EXPECT_EQ(names("--nev Bea"), 0) << "free again";
}

// A name with the marks that turn the direction of text is refused, and
// echoed with them escaped: a terminal would otherwise show another name.
TEST_F(NamesProgram, EchoesDirectionMarksEscaped) {
  EXPECT_EQ(names("--nev \"$(printf 'Kov\342\200\256\303\241cs')\""), 1);
  const std::string e = read_text("err.txt");
  EXPECT_NE(e.find("\"Kov\\u202eács\""), std::string::npos) << e;
  EXPECT_NE(e.find("U+202E „\\u202e”"), std::string::npos) << e;
  EXPECT_EQ(e.find("\xE2\x80\xAE"), std::string::npos) << "echoed raw: " << e;
  EXPECT_EQ(names("--host \"$(printf 'A\342\201\246B')\""), 1);
  EXPECT_NE(read_text("err.txt").find("A\\u2066B"), std::string::npos) << read_text("err.txt");
}

// A failure is named as the game names it, from the one table of I/O
// messages, in both languages: the names program and the question tool say
// the same number's meaning and the same cause for a missing folder, a
// missing file and a full disk.
TEST_F(NamesProgram, AFailureIsNamedAsTheGameAndTheQuestionToolNameIt) {
  const auto as_the_game = [](platform::FileStep step, int err, const std::string& path) {
    const platform::IoError e = platform::io_error(step, err, path);
    return std::pair{e.code(), e.problem_hu() + " / " + e.problem()};
  };
  const auto questions = [](const std::string& args) {
    return shell_run(std::string(ZELVANOS_QUESTIONS) + " " + args + " >out.txt 2>err.txt");
  };
  for (const char* missing : {"nowhere/Config.cfg", "Data/nothing.cfg"}) {
    const auto [code, text] = as_the_game(platform::FileStep::kOpen, ENOENT, missing);
    EXPECT_EQ(code, std::string(missing).starts_with("nowhere") ? 3 : 2) << missing;
    EXPECT_EQ(names(std::string("--file ") + missing + " --nev Feri"), code) << missing;
    EXPECT_NE(read_text("err.txt").find(missing + std::string(": ") + text + " (I/O hiba / I/O error "),
              std::string::npos)
        << missing << ": " << read_text("err.txt");
    EXPECT_EQ(questions(std::string("check ") + missing), 2) << missing;
    EXPECT_EQ(read_text("err.txt"), missing + std::string(": hiba / error: ") + text + "\n") << missing;
  }

  fs::create_directory("full");
  if (::mount("tmpfs", "full", "tmpfs", 0, "size=16k") != 0) GTEST_SKIP() << "cannot mount a small disk here";
  fs::create_directory("full/Data");
  write_file("full/Data/Config.cfg", std::vector<std::uint8_t>(original.begin(), original.end()));
  write_file("full/filler", std::vector<std::uint8_t>(64 * 1024, 1));
  std::ofstream("q.txt", std::ios::binary) << "? Első?\n+ a\n- b\n- c\n- d\n";
  const int code = names("--file full/Data/Config.cfg --nev Feri");
  const std::string said = read_text("err.txt");
  const int tool_code = questions("compile q.txt full/q.lmk");
  const std::string tool_said = read_text("err.txt");
  ::umount("full");
  const auto [full_code, full_text] = as_the_game(platform::FileStep::kWrite, ENOSPC, "full/Data/Config.cfg");
  EXPECT_EQ(full_code, 101);
  EXPECT_EQ(full_text,
            "lemezírási hiba: nincs több hely a lemezen; a régi fájl megmaradt / disk write error: no space left on "
            "the disk; the old file is kept");
  EXPECT_EQ(code, 101) << said;
  EXPECT_NE(said.find("/full/Data/Config.cfg: " + full_text + " (I/O hiba / I/O error 101)"), std::string::npos)
      << said;
  EXPECT_EQ(tool_code, 2) << tool_said;
  EXPECT_EQ(tool_said, "full/q.lmk: hiba / error: " + full_text + "\n");
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

// A player's own question sets and sounds stay in the game when the names
// program prepares the folder (run with HOME from anywhere else): the same
// rules as the launcher's, from the same code. An own folder and an own link
// are kept for each of Questions and Sounds; only a link an earlier
// installation left dangling is pointed at this one.
TEST_F(NewPlayer, ThePlayersOwnFoldersAndLinksAreKept) {
  const fs::path player = home / ".local/share/zelvanos";
  const fs::path mine = fs::current_path() / "mine";
  fs::create_directories(mine / "Questions");
  fs::create_directories(mine / "Sounds");
  const auto prepare = [&](const std::function<void()>& arrange) {
    fs::remove_all(player);
    fs::create_directories(player / "Data");
    write_settings_file(player / "Data/Config.cfg");
    arrange();
    return names("HOME=" + home.string(), "--nev Feri");
  };
  // Each part: an own link to a folder that exists, to one that does not
  // (a drive not mounted now), and an own folder.
  for (const char* part : {"Questions", "Sounds"}) {
    const fs::path at = player / part;
    EXPECT_EQ(prepare([&] { fs::create_directory_symlink(mine / part, at); }), 0) << err();
    EXPECT_EQ(fs::read_symlink(at), mine / part) << part << ": the player's own link was re-pointed";
    EXPECT_EQ(prepare([&] { fs::create_directory_symlink("/media/usb/mine", at); }), 0) << err();
    EXPECT_EQ(fs::read_symlink(at), "/media/usb/mine") << part;
    EXPECT_EQ(prepare([&] {
                fs::create_directory(at);
                write_file(at / "own", {1});
              }),
              0)
        << err();
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(at)) && fs::exists(at / "own")) << part;
    // Left dangling by an earlier installation: pointed at this one.
    EXPECT_EQ(prepare([&] { fs::create_directory_symlink(std::string("/usr/share/old/zelvanos/") + part, at); }), 0);
    EXPECT_EQ(fs::canonical(at), fs::canonical(share / part)) << part;
  }

  // The launcher's tool does the same by the same rules.
  const fs::path tool = fs::path(ZELVANOS_NAMES).parent_path() / "zelvanos-factory-files";
  fs::remove_all(player);
  fs::create_directories(player);
  fs::create_directory_symlink(mine / "Questions", player / "Questions");
  fs::create_directory_symlink("/usr/share/old/zelvanos/Sounds", player / "Sounds");
  EXPECT_EQ(shell_run(tool.string() + " --player " + player.string() + " " + share.string()), 0);
  EXPECT_EQ(fs::read_symlink(player / "Questions"), mine / "Questions");
  EXPECT_EQ(fs::read_symlink(player / "Sounds"), share / "Sounds");
  EXPECT_EQ(read_file(player / "Data/Config.cfg").size(), 76U);
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
