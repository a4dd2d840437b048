// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The web page's backend (built with emscripten and -sASYNCIFY): the
// surface drawn into the page's canvas at most once per animation frame,
// scaled to the canvas's device pixels by the window's scaler; the page's
// key events through the shared key translation into the key queue; the
// game's key wait and delay as sleeps that give the page back to the
// browser. Beside the picture it keeps the model of the texts on screen and
// hands the page, at each key wait, what the screen asks for (offer_keys),
// so that the page can show the texts as real text and offer exactly those
// keys on a touch screen. Data/ lives in the browser's IndexedDB and is
// written through after every save; the question banks and the sounds are
// fetched when the game first needs them.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/backend.hpp"

namespace platform {

struct WebOptions {
  std::optional<Date> date;  // the page's ?date=YYYY-MM-DD, for tests
  // ?clock=virtual, for tests: delays take no real time and the tick count
  // is the sum of the delays, as on the headless backend, so the same keys
  // draw the same questions as the replay tool.
  bool virtual_clock = false;
};

// Reads the options from the page's address.
WebOptions web_options();

class WebBackend final : public Backend {
 public:
  explicit WebBackend(WebOptions options);
  ~WebBackend() override;

  void open(const std::string& title) override;
  void close() override;
  void wait_for_key(KeyQueue& queue) override;
  void delay(unsigned ms, KeyQueue& queue) override;
  std::uint32_t ticks() override;
  Date today() override;

  // Tells the page the game has ended with this exit code.
  void finished(int code);

 private:
  WebOptions options_;
  std::uint32_t virtual_now_ = 0;
  double start_ms_ = 0;
};

// Mounts the browser's storage at the absolute path `folder` and loads
// what an earlier visit stored there. Files written from then on until
// store_each_write() (a first visit's factory files) are stored after it
// without the game waiting: the first picture does not wait for the
// storage, and what the page may lose by closing at once is written anew
// at the next start.
void mount_browser_storage(const std::string& folder);
// Stores what was written since the mount without waiting (the storage
// keeps the order of its stores); from now on every completed
// write_record is stored before it returns.
void store_each_write();
// Runs `task` on the game's side at its next chance: the key wait under
// way wakes for it and goes on waiting, a delay runs it when it ends. For
// what the page asks that writes a file: a write waits for the browser's
// storage, which only the game's side may do (the page's own calls must
// not wait).
void run_for_page(std::function<void()> task);

// From now on a read_record of a file under Questions/ that the page has
// not loaded yet waits while the page fetches it (a file the site does not
// have stays missing, and its read fails as on the desktop). `before`, when
// given, sees every such read first and may put the file in place itself.
void fetch_files_when_read(void (*before)(const std::filesystem::path& path) = nullptr);

// JSON of a string as code page 852 bytes turned into Unicode, quoted.
std::string json_string(std::string_view cp852_bytes);
// JSON of a UTF-8 string, quoted.
std::string json_utf8(std::string_view utf8);

}  // namespace platform
