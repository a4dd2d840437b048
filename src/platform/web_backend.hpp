// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The web page's backend (built with emscripten and -sASYNCIFY): the
// surface drawn into the page's canvas at most once per animation frame,
// the page's key events through the shared key translation into the key
// queue, and the game's key wait and delay as sleeps that give the page
// back to the browser. Data/ lives in the browser's IndexedDB and is
// written through after every save.

#include <cstdint>
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

// Mounts the browser's storage at the absolute path `folder`
// and loads what an earlier visit stored there; from then on every
// completed write_record is stored before it returns.
void mount_browser_storage(const std::string& folder);

}  // namespace platform
