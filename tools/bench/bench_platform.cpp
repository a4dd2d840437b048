// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmarks: one main-menu pass on the headless surface, and the latency
// from a key arriving at the queue to ReadKey's return on another thread.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "game/game.hpp"
#include "game/questions.hpp"
#include "platform/backend.hpp"
#include "platform/cp852.hpp"
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

}  // namespace

BENCHMARK_MAIN();
