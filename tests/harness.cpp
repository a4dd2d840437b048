// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.hpp"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/highscores.hpp"
#include "game/questions.hpp"
#include "platform/backend.hpp"
#include "platform/files.hpp"
#include "shell/menu.hpp"
#include "shell/settings.hpp"

namespace fs = std::filesystem;

namespace platform {

void PrintTo(const Recorder::TextDraw& e, std::ostream* out) {
  *out << e.ms << " text " << e.x << "," << e.y << " colour " << e.colour << " size " << e.magnification << " \""
       << e.utf8 << "\"";
}
void PrintTo(const Recorder::Delay& e, std::ostream* out) { *out << e.ms << " delay " << e.length; }
void PrintTo(const Recorder::KeyWait& e, std::ostream* out) { *out << e.ms << " key-wait " << e.number; }
void PrintTo(const Recorder::KeyRead& e, std::ostream* out) { *out << e.ms << " key " << int{e.byte}; }
void PrintTo(const Recorder::Sound& e, std::ostream* out) {
  *out << e.ms << " sound " << e.operation << " " << e.slot << " " << e.file;
}

}  // namespace platform

namespace testing_support {

platform::Date date(int year, int month, int day) {
  return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month), static_cast<std::uint16_t>(day),
          platform::weekday_of(year, month, day)};
}

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  previous_ = fs::current_path();
  path_ = fs::temp_directory_path() / ("zelvanos-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
  fs::current_path(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::vector<std::uint8_t> read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string read_text(const fs::path& path) {
  const auto bytes = read_file(path);
  return {bytes.begin(), bytes.end()};
}

void write_file(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

settings::BEALLITASOK factory_settings() {
  settings::BEALLITASOK s;
  shell::apply_factory_values(s);
  return s;
}

void write_settings_file(const fs::path& path, const settings::BEALLITASOK& record) {
  const auto bytes = settings::encode(record);
  write_file(path, {bytes.begin(), bytes.end()});
}

::testing::AssertionResult fails_with_io_error(int code, const std::function<void()>& call, std::string* what) {
  try {
    call();
  } catch (const platform::IoError& e) {
    if (what != nullptr) *what = e.what();
    if (e.code() == code) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "I/O error " << e.code() << " instead of " << code << ": " << e.what();
  }
  return ::testing::AssertionFailure() << "no I/O error (" << code << " expected)";
}

Captured capture_stderr(const std::function<int()>& call) {
  ::testing::internal::CaptureStderr();
  Captured out{};
  try {
    out.code = call();
  } catch (...) {
    ::testing::internal::GetCapturedStderr();
    throw;
  }
  out.err = ::testing::internal::GetCapturedStderr();
  return out;
}

int shell_run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::optional<TestUser> test_user(const std::string& name, std::string* why) {
  if (::geteuid() != 0) {
    *why = "a second user can be made only by root";
    return std::nullopt;
  }
  const auto find = [&]() -> std::optional<TestUser> {
    struct passwd pw = {};
    struct passwd* found = nullptr;
    char buf[1024];
    if (::getpwnam_r(name.c_str(), &pw, buf, sizeof buf, &found) != 0 || found == nullptr) return std::nullopt;
    return TestUser{found->pw_uid, found->pw_gid, name};
  };
  if (auto user = find()) return user;
  // Another test may make the same user at the same time: look again after.
  shell_run("useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin " + name +
            " >/dev/null 2>&1");
  if (auto user = find()) return user;
  *why = "useradd could not make the user " + name;
  return std::nullopt;
}

int run_as(const TestUser& user, const std::string& command) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0) _exit(126);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Banks for every set in which the right answer is always `right`.
void write_banks(char right) {
  game::KERDESEKFULL bank{};
  for (int i = 0; i < 3; ++i) {
    auto& r = bank[static_cast<std::size_t>(i)];
    r.KERDES.assign("Question " + std::to_string(i + 1) + "?");
    r.A.assign("Alpha");
    r.B.assign("Bravo");
    r.C.assign("Charlie");
    r.D.assign("Delta");
    r.JOVALASZ.assign(std::string(1, right));
  }
  bank[3].KERDES.assign("*");
  const auto bytes = game::encode_bank(bank);
  for (const char* set : {"Default", "Children"}) {
    fs::create_directories(fs::path("Questions") / set);
    for (int n = 1; n <= 10; ++n) {
      write_file(fs::path("Questions") / set / std::string(n < 10 ? "0" : "").append(std::to_string(n)).append(".lmk"),
                 bytes);
    }
  }
  fs::create_directories("Questions/Single");
  for (const char* f : {"szamtech", "kelvarion", "labdarugas"}) {
    write_file(fs::path("Questions/Single") / (std::string(f) + ".lmk"), bytes);
  }
}

void write_game_folder(const fs::path& folder) {
  fs::create_directories(folder / "Data");
  write_settings_file(folder / "Data/Config.cfg");
  game::EREDMENYLISTA list;
  game::reset_list(list);
  const auto scores = game::encode(list);
  write_file(folder / "Data/HighScores.cfg", {scores.begin(), scores.end()});
  const fs::path back = fs::current_path();
  fs::current_path(folder);
  write_banks('a');
  fs::current_path(back);
}

void HeadlessTest::SetUp() {
  dir = std::make_unique<ScratchDir>();
  fs::create_directory("Data");
  write_settings(factory());
  start();
}

void HeadlessTest::start(std::string_view keys, platform::Date on) {
  std::string error;
  auto script = platform::parse_key_script(keys, &error);
  EXPECT_TRUE(script.has_value()) << error;
  platform::set_tracer(nullptr);
  platform::use_backend(nullptr);
  backend = std::make_unique<platform::HeadlessBackend>(on, script.value_or(std::vector<platform::ScriptedKey>{}));
  recorder = std::make_unique<platform::Recorder>(*backend);
  platform::reset_state();
  shell::reset_layers();
  shell::apply_factory_values(settings::CONFIG);
  platform::use_backend(backend.get());
  platform::set_tracer(recorder.get());
}

void HeadlessTest::TearDown() {
  platform::set_tracer(nullptr);
  platform::use_backend(nullptr);
  dir.reset();
}

settings::BEALLITASOK HeadlessTest::factory() const { return factory_settings(); }

void HeadlessTest::write_settings(const settings::BEALLITASOK& record) {
  write_settings_file("Data/Config.cfg", record);
}

int GameTest::run(std::string_view keys, platform::Date on) {
  start(keys, on);
  auto [code, err] = capture_stderr(shell::program);
  captured_stderr = std::move(err);
  platform::set_tracer(nullptr);
  platform::use_backend(nullptr);
  return code;
}

bool HeadlessTest::drew(std::string_view utf8, int x, int y, int colour, int magnification) const {
  return times_drawn(utf8, x, y, colour, magnification) > 0;
}

int HeadlessTest::times_drawn(std::string_view utf8) const {
  int n = 0;
  for (const auto& t : recorder->texts()) n += t.utf8 == utf8 ? 1 : 0;
  return n;
}

int HeadlessTest::times_drawn(std::string_view utf8, int x, int y, int colour, int magnification) const {
  int n = 0;
  for (const auto& t : recorder->texts()) {
    n += t.utf8 == utf8 && t.x == x && t.y == y && (colour < 0 || t.colour == colour) &&
                 (magnification < 0 || t.magnification == magnification)
             ? 1
             : 0;
  }
  return n;
}

int HeadlessTest::count_lines(std::string_view fragment) const {
  int n = 0;
  for (const auto& line : recorder->lines()) n += line.find(fragment) != std::string::npos ? 1 : 0;
  return n;
}

int HeadlessTest::count_texts(std::string_view fragment) const { return recorder->count_texts(fragment); }

int HeadlessTest::texts_starting(std::string_view prefix) const {
  int n = 0;
  for (const auto& t : recorder->texts()) n += t.utf8.starts_with(prefix) ? 1 : 0;
  return n;
}

int HeadlessTest::texts_ending(std::string_view suffix) const {
  int n = 0;
  for (const auto& t : recorder->texts()) n += t.utf8.ends_with(suffix) ? 1 : 0;
  return n;
}

}  // namespace testing_support
