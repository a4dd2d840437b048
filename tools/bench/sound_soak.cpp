// SPDX-License-Identifier: GPL-3.0-or-later
// zelvanos-sound-soak [GAMES]: plays whole games on the headless backend
// with the real SDL2_mixer output (SDL's dummy audio driver unless another
// is asked for) and reports the process's resident memory after the first
// game and after the last, and how long loading the first sound set takes.

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/questions.hpp"
#include "platform/backend.hpp"
#include "platform/files.hpp"
#include "platform/headless.hpp"
#include "platform/settings.hpp"
#include "shell/menu.hpp"
#include "shell/settings.hpp"
#include "sound/audio_sdl.hpp"
#include "sound/sound.hpp"
#include "sound/soundsets.hpp"

namespace fs = std::filesystem;

namespace {

long resident_kib() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    std::getline(status, key);
  }
  return -1;
}

// A folder where every question's right answer is "a", with the real sounds.
void prepare(const fs::path& dir, const fs::path& sounds) {
  fs::create_directories(dir / "Data");
  settings::BEALLITASOK record;
  shell::apply_factory_values(record);
  platform::write_record(dir / "Data" / "Config.cfg", settings::encode(record));
  game::KERDESEKFULL bank{};
  bank[0].KERDES.assign("?");
  for (auto* s : {&bank[0].A, &bank[0].B, &bank[0].C, &bank[0].D}) s->assign("x");
  bank[0].JOVALASZ.assign("a");
  bank[1].KERDES.assign("*");
  const auto bytes = game::encode_bank(bank);
  for (const char* set : {"Default", "Children"}) {
    fs::create_directories(dir / "Questions" / set);
    for (int n = 1; n <= 10; ++n) {
      platform::write_record(
          dir / "Questions" / set / std::string(n < 10 ? "0" : "").append(std::to_string(n)).append(".lmk"), bytes);
    }
  }
  fs::create_directories(dir / "Sounds");
  for (const auto& f : fs::directory_iterator(sounds)) {
    fs::copy_file(f.path(), dir / "Sounds" / f.path().filename(), fs::copy_options::overwrite_existing);
  }
}

int play_games(int games) {
  std::string keys;
  for (int g = 0; g < games; ++g) {
    keys += g == 0 ? "Enter" : " Up Up Enter";  // from the list's item back to the first
    for (int level = 0; level < 10; ++level) keys += " a n";
    keys += " Esc";  // the top prize shows the list; leave it
  }
  std::string error;
  platform::HeadlessBackend backend(platform::Date{2005, 3, 7, 1}, *platform::parse_key_script(keys, &error));
  platform::reset_state();
  shell::reset_layers();
  platform::use_backend(&backend);
  const int code = shell::program();
  platform::use_backend(nullptr);
  if (backend.keys_left() != 0) std::fprintf(stderr, "zelvanos-sound-soak: the games ended early\n");
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  if (std::getenv("SDL_AUDIODRIVER") == nullptr) SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
  const fs::path sounds = fs::absolute(fs::path(ZELVANOS_DATA_DIR) / "Sounds");
  const fs::path dir = fs::temp_directory_path() / "zelvanos-sound-soak";
  fs::remove_all(dir);
  prepare(dir, sounds);
  fs::current_path(dir);

  const auto device = sound::make_sdl_mixer_device();
  sound::use_audio_device(device.get());

  // Loading the first sound set, as the first question does.
  std::vector<double> ms;
  for (int i = 0; i < 20; ++i) {
    sound::reset_state();
    sound::INIT_STUFF();
    const auto t0 = std::chrono::steady_clock::now();
    sound::HANGOK_BETOLTESE();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    sound::DONE_STUFF();
  }
  std::sort(ms.begin(), ms.end());
  std::printf("loading sound set 1: median %.1f ms, fastest %.1f ms, slowest %.1f ms (20 loads)\n", ms[10], ms[0],
              ms.back());

  const int first = play_games(1);
  const long after_one = resident_kib();
  const auto t0 = std::chrono::steady_clock::now();
  const int rest = play_games(games);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const long after_all = resident_kib();
  std::printf("resident memory after 1 game: %ld KiB; after %d more games: %ld KiB (%.1f s, exit codes %d, %d)\n",
              after_one, games, after_all, seconds, first, rest);
  sound::use_audio_device(nullptr);
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(dir);
  return first == 0 && rest == 0 ? 0 : 1;
}
