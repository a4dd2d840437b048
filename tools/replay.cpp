// SPDX-License-Identifier: GPL-3.0-or-later
// zelvanos-replay: runs the real game on the headless backend in a given
// working folder, with keys from a script and an optional fixed date, and
// writes a PNG of the screen at each key read plus a log of everything drawn.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

#include "platform/backend.hpp"
#include "platform/headless.hpp"
#include "platform/png.hpp"
#include "platform/recorder.hpp"
#include "shell/menu.hpp"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: zelvanos-replay --dir FOLDER [--keys FILE | --type \"KEYS\"] [--date YYYY-MM-DD]\n"
    "                       [--out FOLDER] [--shots all|none|N,N,...] [--delay-shots]\n"
    "                       [--stop-at-key-waits]\n"
    "\n"
    "Runs the game headless in FOLDER (where Data, Questions and Sounds are),\n"
    "with a virtual clock: delays take no real time. Keys come from a script:\n"
    "letters as themselves; Enter Esc Backspace Tab Space Up Down Left Right\n"
    "Home End PgUp PgDn Ins Del F1..F10 CtrlF1..CtrlF10; byte:N for a raw byte;\n"
    "@MS before a key makes it arrive at virtual time MS; '#' starts a comment.\n"
    "When the keys run out the game ends as if its window were closed.\n"
    "\n"
    "Writes to --out (default replay-out): shot-NNN.png at each key read\n"
    "(or only at the numbered reads --shots names), final.png, and log.txt;\n"
    "with --delay-shots also delay-NNN.png at the start of each delay.\n"
    "With --stop-at-key-waits it stops itself (SIGSTOP) each time the game\n"
    "waits for a key, for tests that look at its files or kill it there.\n"
    "Exits with the game's exit code.\n";

bool parse_date(const std::string& text, platform::Date& date) {
  int y = 0, m = 0, d = 0;
  char dash1 = 0, dash2 = 0;
  std::istringstream in(text);
  if (!(in >> y >> dash1 >> m >> dash2 >> d) || dash1 != '-' || dash2 != '-' || !in.eof()) return false;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 65535 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return false;
  date = {static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(m), static_cast<std::uint16_t>(d),
          platform::weekday_of(y, m, d)};
  return true;
}

int usage_error(const std::string& message) {
  std::cerr << "zelvanos-replay: " << message << "\n\n" << kUsage;
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path dir;
  fs::path out = "replay-out";
  std::string script;
  bool have_script = false;
  platform::Date date = platform::local_date();
  std::string shots = "all";
  bool delay_shots = false;
  bool stop_at_key_waits = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--delay-shots") {
      delay_shots = true;
      continue;
    }
    if (arg == "--stop-at-key-waits") {
      stop_at_key_waits = true;
      continue;
    }
    if (i + 1 >= argc) return usage_error("missing value after " + arg);
    const std::string value = argv[++i];
    if (arg == "--dir") {
      dir = value;
    } else if (arg == "--out") {
      out = value;
    } else if (arg == "--keys") {
      std::ifstream in(value, std::ios::binary);
      if (!in) return usage_error("cannot read the key script " + value);
      std::ostringstream text;
      text << in.rdbuf();
      script = text.str();
      have_script = true;
    } else if (arg == "--type") {
      script = value;
      have_script = true;
    } else if (arg == "--date") {
      if (!parse_date(value, date)) return usage_error("not a date (YYYY-MM-DD): " + value);
    } else if (arg == "--shots") {
      shots = value;
    } else {
      return usage_error("unknown option " + arg);
    }
  }
  if (dir.empty()) return usage_error("--dir is required");
  if (!have_script) script.clear();

  std::string error;
  auto keys = platform::parse_key_script(script, &error);
  if (!keys) return usage_error("key script, " + error);

  std::set<int> wanted;
  const bool all_shots = shots == "all";
  if (!all_shots && shots != "none") {
    std::istringstream list(shots);
    std::string item;
    while (std::getline(list, item, ',')) {
      char* end = nullptr;
      const long n = std::strtol(item.c_str(), &end, 10);
      if (item.empty() || *end != '\0' || n < 1) return usage_error("--shots takes all, none or key read numbers");
      wanted.insert(static_cast<int>(n));
    }
  }

  std::error_code ec;
  fs::create_directories(out, ec);
  out = fs::absolute(out, ec);
  fs::current_path(dir, ec);
  if (ec) {
    std::cerr << "zelvanos-replay: cannot enter " << dir.string() << ": " << ec.message() << "\n";
    return 66;
  }

  platform::HeadlessBackend backend(date, std::move(*keys));
  platform::Recorder recorder(backend);
  bool shot_failed = false;
  const auto shoot = [&](const char* prefix, int n) {
    char name[32];
    std::snprintf(name, sizeof name, "%s-%03d.png", prefix, n);
    shot_failed |= !platform::write_png(out / name, platform::surface().snapshot());
  };
  recorder.on_key_wait = [&](int n) {
    if (all_shots || wanted.count(n) != 0) shoot("shot", n);
    if (stop_at_key_waits) std::raise(SIGSTOP);
  };
  if (delay_shots) recorder.on_delay = [&](int n) { shoot("delay", n); };

  platform::reset_state();
  shell::reset_layers();
  platform::use_backend(&backend);
  platform::set_tracer(&recorder);
  const int code = shell::program();
  platform::set_tracer(nullptr);
  platform::use_backend(nullptr);

  shot_failed |= !platform::write_png(out / "final.png", platform::surface().snapshot());
  std::ofstream log(out / "log.txt", std::ios::binary);
  log << recorder.joined() << backend.now() << " exit " << code << "\n";
  if (shot_failed || !log) std::cerr << "zelvanos-replay: could not write everything to " << out.string() << "\n";
  return code;
}
