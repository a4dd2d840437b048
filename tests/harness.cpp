// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.hpp"

#include <atomic>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "game/questions.hpp"
#include "platform/backend.hpp"
#include "shell/menu.hpp"

namespace fs = std::filesystem;

namespace testing_support {

platform::Date date(int year, int month, int day) {
  return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month), static_cast<std::uint16_t>(day),
          platform::weekday_of(year, month, day)};
}

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  previous_ = fs::current_path();
  path_ = fs::temp_directory_path() /
          ("zelvanos-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
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
      write_file(fs::path("Questions") / set / std::string(n < 10 ? "0" : "").append(std::to_string(n)).append(".lmk"), bytes);
    }
  }
  fs::create_directories("Questions/Single");
  for (const char* f : {"szamtech", "kelvarion", "labdarugas"}) {
    write_file(fs::path("Questions/Single") / (std::string(f) + ".lmk"), bytes);
  }
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
  shell::reset_all();
  shell::apply_factory_values(shell::CONFIG);
  platform::use_backend(backend.get());
  platform::set_tracer(recorder.get());
}

void HeadlessTest::TearDown() {
  platform::set_tracer(nullptr);
  platform::use_backend(nullptr);
  dir.reset();
}

shell::BEALLITASOK HeadlessTest::factory() const {
  shell::BEALLITASOK s;
  shell::apply_factory_values(s);
  return s;
}

void HeadlessTest::write_settings(const shell::BEALLITASOK& settings) {
  const auto bytes = shell::encode(settings);
  write_file("Data/Config.cfg", {bytes.begin(), bytes.end()});
}

int GameTest::run(std::string_view keys, platform::Date on) {
  start(keys, on);
  ::testing::internal::CaptureStderr();
  const int code = shell::program();
  captured_stderr = ::testing::internal::GetCapturedStderr();
  platform::set_tracer(nullptr);
  platform::use_backend(nullptr);
  return code;
}

bool HeadlessTest::drew(std::string_view utf8, int x, int y, int colour, int magnification) const {
  for (const auto& t : recorder->texts()) {
    if (t.utf8 == utf8 && t.x == x && t.y == y && (colour < 0 || t.colour == colour) &&
        (magnification < 0 || t.magnification == magnification)) {
      return true;
    }
  }
  return false;
}

int HeadlessTest::count_lines(std::string_view fragment) const {
  int n = 0;
  for (const auto& line : recorder->lines()) n += line.find(fragment) != std::string::npos ? 1 : 0;
  return n;
}

}  // namespace testing_support
