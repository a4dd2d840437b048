// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks: one main-menu pass on the headless surface, the latency from
// a key arriving at the queue to ReadKey's return on another thread, and a
// level's draw with the memory of asked questions written after it.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <unistd.h>

#include "game/asked.hpp"
#include "game/game.hpp"
#include "game/questions.hpp"
#include "platform/backend.hpp"
#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/headless.hpp"
#include "platform/settings.hpp"
#include "screen/gamescreen.hpp"
#include "screen/logo.hpp"
#include "shell/menu.hpp"
#include "shell/settings.hpp"

using namespace cp852::literals;  // the _cp literal

namespace {

// A fresh program on the headless backend with the factory settings, for as
// long as a benchmark runs.
class HeadlessProgram {
 public:
  explicit HeadlessProgram(platform::Date date) : backend_(date) {
    platform::reset_state();
    shell::reset_layers();
    platform::use_backend(&backend_);
    shell::apply_factory_values(settings::CONFIG);
  }
  ~HeadlessProgram() { platform::use_backend(nullptr); }
  HeadlessProgram(const HeadlessProgram&) = delete;
  HeadlessProgram& operator=(const HeadlessProgram&) = delete;

 private:
  platform::HeadlessBackend backend_;
};

// Clear, the header with every switch on (on Christmas Day, the busiest
// header), and the five items: what one main-menu pass draws.
void MainMenuPass(benchmark::State& state) {
  const HeadlessProgram program(platform::Date{2005, 12, 25, 0});
  settings::CONFIG.MADE_IN_HUNGARY = 1;
  shell::HOL = 1;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    shell::draw_main_menu();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MainMenuPass)->Unit(benchmark::kMicrosecond);

// What a level draws once its announcement is over: clear, header, ladder,
// the level's highlight, the boxes, a two-line question and four answers.
void QuestionScreenPass(benchmark::State& state) {
  const HeadlessProgram program(platform::Date{2005, 3, 7, 1});
  game::X = 7;
  screen::SZVG.assign(1, '7');
  const std::string question =
      "Melyik magyar festő alkotása a \"Magányos cédrus\" című kép, amely 1907-ben készült?"_cp.data();
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    platform::ClearDevice();
    screen::LOGO();
    screen::TABLAZAT();
    screen::ladder_highlight(7);
    game::KERDES = question;
    game::A = "Csontváry Kosztka Tivadar"_cp;
    game::B = "Munkácsy Mihály"_cp;
    game::C = "Szinyei Merse Pál"_cp;
    game::D = "Rippl-Rónai József"_cp;
    screen::KIIRAS();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(QuestionScreenPass)->Unit(benchmark::kMicrosecond);

// A key pushed by another thread (as the window thread does) until the game
// thread's ReadKey returns it.
void KeyLatency(benchmark::State& state) {
  platform::reset_state();
  shell::reset_layers();
  const auto now_ns = [] {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
  std::atomic<bool> stop{false};
  std::atomic<std::int64_t> pushed_at{0};
  std::atomic<int> sent{0};
  std::atomic<int> received{0};
  std::thread window([&] {
    while (!stop) {
      if (sent.load() != received.load()) {
        std::this_thread::yield();
        continue;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));  // let the reader block
      pushed_at = now_ns();
      ++sent;
      platform::key_queue().push('a');
    }
  });
  // Waits in the window backend's way: blocking on the queue's condition variable.
  struct Blocking : platform::HeadlessBackend {
    void wait_for_key(platform::KeyQueue& q) override { q.wait_nonempty(); }
  } blocking;
  platform::use_backend(&blocking);
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    platform::ReadKey();
    const auto now = now_ns();
    ++received;
    state.SetIterationTime(static_cast<double>(now - pushed_at.load()) * 1e-9);
  }
  stop = true;
  platform::key_queue().push('a');
  window.join();
  platform::use_backend(nullptr);
  platform::key_queue().reset();
}
BENCHMARK(KeyLatency)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A working folder of its own under the system's temporary folder, for as
// long as a benchmark runs.
class ScratchFolder {
 public:
  ScratchFolder() : previous_(std::filesystem::current_path()) {
    path_ = std::filesystem::temp_directory_path() / ("zelvanos-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_ / "Data");
    std::filesystem::create_directories(path_ / "Questions");
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// One level's question: the bank (99 questions) read, a question drawn that
// neither this game nor the memory holds, and the memory of asked questions
// written after it.
void DrawAndRemember(benchmark::State& state) {
  const ScratchFolder folder;
  const HeadlessProgram program(platform::Date{2005, 3, 7, 1});
  game::KERDESEKFULL bank{};
  for (std::size_t i = 0; i < 99; ++i) {
    bank[i].KERDES.assign("Question " + std::to_string(i + 1) + "?");
    bank[i].A.assign("Alpha");
    bank[i].B.assign("Bravo");
    bank[i].C.assign("Charlie");
    bank[i].D.assign("Delta");
    bank[i].JOVALASZ.assign("a");
  }
  bank[99].KERDES.assign("*");
  platform::write_record("Questions/x.lmk", game::encode_bank(bank));
  int drawn = 0;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    if (++drawn % 10 == 0) game::forget_asked_questions();  // a game has ten levels
    platform::Delay(7);
    game::KERDEZ_BETOLT("Questions\\x.lmk");
    benchmark::DoNotOptimize(game::KERDESEK);
  }
}
BENCHMARK(DrawAndRemember)->Unit(benchmark::kMicrosecond);

// The memory's file written as it is after every question (renamed into
// place, Arg 0) and as the settings are (on the disk before the rename, Arg 1).
void MemoryWrite(benchmark::State& state) {
  const ScratchFolder folder;
  const auto bytes = game::encode_asked(game::AskedMemory{});
  const auto durability = state.range(0) == 0 ? platform::Durability::kAtomic : platform::Durability::kDurable;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
    platform::write_record("Data/AskedQuestions.cfg", bytes, durability);
  }
}
BENCHMARK(MemoryWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
