// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web_backend.hpp"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/keys.hpp"

// The page's side, in web_library.js.
extern "C" {
void zelvanos_web_open(const char* title_utf8);
void zelvanos_web_surface_changed();
int zelvanos_web_wait_key();  // async
void zelvanos_web_wake();
int zelvanos_web_mount(const char* folder);  // async
int zelvanos_web_store();                    // async
int zelvanos_web_option(const char* name, char* out, int size);
void zelvanos_web_finished(int code);
}

namespace platform {
namespace {

// The picture as the canvas takes it: four bytes a pixel, opaque.
using Rgba = std::array<std::uint32_t, static_cast<std::size_t>(kWidth) * kHeight>;

std::unique_ptr<Rgba> g_rgba;
std::array<std::uint32_t, 256> g_colours{};

EM_BOOL on_key_down(int /*type*/, const EmscriptenKeyboardEvent* e, void* /*data*/) {
  if (!push_dom_key(key_queue(), e->key, e->ctrlKey != 0, e->altKey != 0, e->metaKey != 0)) return EM_FALSE;
  zelvanos_web_wake();
  return EM_TRUE;
}

std::optional<Date> parse_date(const std::string& text) {
  int y = 0, m = 0, d = 0;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &rest) != 3) return std::nullopt;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return std::nullopt;
  return Date{static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(m), static_cast<std::uint16_t>(d),
              weekday_of(y, m, d)};
}

std::string option(const char* name) {
  char value[64] = {};
  return zelvanos_web_option(name, value, sizeof value) != 0 ? std::string(value) : std::string();
}

void store_after_write(const std::filesystem::path& path) {
  if (zelvanos_web_store() != 0) {
    std::fprintf(stderr, "zelvanos: %s: a böngésző tárolójába nem sikerült menteni (could not store in the browser)\n",
                 path.generic_string().c_str());
  }
}

}  // namespace

WebOptions web_options() {
  WebOptions o;
  o.date = parse_date(option("date"));
  o.virtual_clock = option("clock") == "virtual";
  return o;
}

WebBackend::WebBackend(WebOptions options) : options_(options), start_ms_(emscripten_get_now()) {
  for (std::size_t i = 0; i < 256; ++i) {
    const Rgb c = palette()[i];
    // Little-endian RGBA bytes in memory.
    g_colours[i] = 0xFF000000U | (std::uint32_t{c.b} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.r};
  }
  g_rgba = std::make_unique<Rgba>();
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, on_key_down);
}

WebBackend::~WebBackend() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
  surface().set_change_listener(nullptr);
}

void WebBackend::open(const std::string& title) {
  zelvanos_web_open(cp852::to_utf8(title).c_str());
  surface().set_change_listener([] { zelvanos_web_surface_changed(); });
  zelvanos_web_surface_changed();
}

void WebBackend::close() { surface().set_change_listener(nullptr); }

void WebBackend::wait_for_key(KeyQueue& queue) {
  // Sleeps until a key event wakes it: the page uses no CPU meanwhile.
  while (queue.size() == 0) zelvanos_web_wait_key();
}

void WebBackend::delay(unsigned ms, KeyQueue& /*queue*/) {
  if (options_.virtual_clock) {
    virtual_now_ += ms;
    emscripten_sleep(0);  // the page still gets its turn
    return;
  }
  emscripten_sleep(ms);
}

std::uint32_t WebBackend::ticks() {
  if (options_.virtual_clock) return virtual_now_;
  return static_cast<std::uint32_t>(emscripten_get_now() - start_ms_);
}

Date WebBackend::today() { return options_.date ? *options_.date : local_date(); }

void WebBackend::finished(int code) {
  close();
  zelvanos_web_finished(code);
}

void mount_browser_storage(const std::string& folder) {
  if (zelvanos_web_mount(folder.c_str()) != 0) {
    std::fprintf(stderr,
                 "zelvanos: a böngésző tárolója nem érhető el, a mentések csak a lap bezárásáig élnek "
                 "(browser storage unavailable; saves last until the page is closed)\n");
  }
  set_write_observer(store_after_write);
}

}  // namespace platform

// The page asks for the picture once per animation frame, when it changed.
extern "C" EMSCRIPTEN_KEEPALIVE const std::uint32_t* zelvanos_web_frame() {
  using namespace platform;
  surface().read_pixels([](const Pixels& px) {
    std::uint32_t* out = g_rgba->data();
    for (std::size_t i = 0; i < px.size(); ++i) out[i] = g_colours[px[i]];
  });
  return g_rgba->data();
}

// An on-screen key: a DOM key name, through the same translation as the keyboard's.
extern "C" EMSCRIPTEN_KEEPALIVE void zelvanos_web_key(const char* key) {
  if (platform::push_dom_key(platform::key_queue(), key, false, false, false)) zelvanos_web_wake();
}
