// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web_backend.hpp"

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/keycodes.hpp"
#include "platform/keys.hpp"
#include "platform/scaler.hpp"
#include "platform/text_model.hpp"

// The page's side, in web_library.js.
extern "C" {
void zelvanos_web_open(const char* title_utf8);
void zelvanos_web_surface_changed();
int zelvanos_web_wait_key();  // async
void zelvanos_web_wake();
int zelvanos_web_mount(const char* folder);  // async
int zelvanos_web_store();                    // async
void zelvanos_web_store_soon();
int zelvanos_web_fetch(const char* path);  // async
int zelvanos_web_option(const char* name, char* out, int size);
void zelvanos_web_finished(int code);
void zelvanos_web_ready();
}

namespace platform {
namespace {

// The picture as the canvas takes it: four bytes a pixel (red first), opaque.
std::vector<std::uint32_t> g_rgba;
std::uint32_t g_colours[256] = {};
Scaler g_scaler;

TextModel g_texts;
// Key waits so far; the page names the wait it answers.
std::uint32_t g_waits = 0;
bool g_waiting = false;
bool g_answered = false;                     // the page has sent a key for this wait
std::vector<std::function<void()>> g_tasks;  // what the page asked to run on the game's side

void run_page_tasks() {
  while (!g_tasks.empty()) {
    const auto task = std::move(g_tasks.front());
    g_tasks.erase(g_tasks.begin());
    task();
  }
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

bool g_written = false;  // a file written since the mount, not stored yet

void note_write(const std::filesystem::path&) { g_written = true; }

void store_after_write(const std::filesystem::path& path) {
  if (zelvanos_web_store() != 0) {
    std::fprintf(stderr, "zelvanos: %s: a böngésző tárolójába nem sikerült menteni (could not store in the browser)\n",
                 path.generic_string().c_str());
  }
}

void (*g_before_fetch)(const std::filesystem::path&) = nullptr;

// A bank not loaded yet is fetched before it is read.
void fetch_before_read(const std::filesystem::path& path) {
  const std::string name = path.lexically_normal().generic_string();
  if (name.rfind("Questions/", 0) != 0) return;
  if (g_before_fetch != nullptr) g_before_fetch(path);
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return;
  zelvanos_web_fetch(name.c_str());
}

void append_place(std::string& out, const Place& p) {
  if (p.empty()) {
    out += "null";
    return;
  }
  out += "[" + std::to_string(p.left) + "," + std::to_string(p.top) + "," + std::to_string(p.right) + "," +
         std::to_string(p.bottom) + "]";
}

const char* asking_name(Asking a) {
  switch (a) {
    case Asking::kMenu: return "menu";
    case Asking::kQuestion: return "question";
    case Asking::kPrompt: return "prompt";
    case Asking::kChoice: return "choice";
    case Asking::kNothing: break;
  }
  return "";
}

}  // namespace

std::string json_string(std::string_view cp852_bytes) { return json_utf8(cp852::to_utf8(cp852_bytes)); }

std::string json_utf8(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", u);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

WebOptions web_options() {
  WebOptions o;
  o.date = parse_date(option("date"));
  o.virtual_clock = option("clock") == "virtual";
  return o;
}

WebBackend::WebBackend(WebOptions options) : options_(options), start_ms_(emscripten_get_now()) {
  for (std::size_t i = 0; i < 256; ++i) {
    const Rgb c = palette()[i];
    // Red in the lowest byte, as the canvas keeps RGBA in memory; the scaler
    // blends the three bytes alike, whatever their order.
    g_colours[i] = (std::uint32_t{c.b} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.r};
  }
  zelvanos_web_ready();
}

WebBackend::~WebBackend() {
  surface().set_change_listener(nullptr);
  set_text_model(nullptr);
}

void WebBackend::open(const std::string& title) {
  zelvanos_web_open(cp852::to_utf8(title).c_str());
  set_text_model(&g_texts);
  g_texts.clear();
  surface().set_change_listener([] { zelvanos_web_surface_changed(); });
  zelvanos_web_surface_changed();
}

void WebBackend::close() {
  surface().set_change_listener(nullptr);
  set_text_model(nullptr);
}

void WebBackend::wait_for_key(KeyQueue& queue) {
  // Sleeps until a key event wakes it: the page uses no CPU meanwhile.
  ++g_waits;
  g_answered = false;
  while (queue.size() == 0) {
    g_waiting = true;
    zelvanos_web_wait_key();
    g_waiting = false;
    run_page_tasks();
  }
}

void WebBackend::delay(unsigned ms, KeyQueue& /*queue*/) {
  if (options_.virtual_clock) {
    virtual_now_ += ms;
    emscripten_sleep(0);  // the page still gets its turn
  } else {
    emscripten_sleep(ms);
  }
  run_page_tasks();
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
  set_write_observer(note_write);
}

void store_each_write() {
  if (g_written) zelvanos_web_store_soon();
  g_written = false;
  set_write_observer(store_after_write);
}

void run_for_page(std::function<void()> task) {
  g_tasks.push_back(std::move(task));
  zelvanos_web_wake();
}

void fetch_files_when_read(void (*before)(const std::filesystem::path& path)) {
  g_before_fetch = before;
  set_read_observer(fetch_before_read);
}

}  // namespace platform

// The picture for a canvas of width x height device pixels: the surface as
// it is at 800 x 600, else through the window's scaler (the largest
// rectangle of the picture's aspect, crisp at any size).
extern "C" EMSCRIPTEN_KEEPALIVE const std::uint32_t* zelvanos_web_frame(int width, int height) {
  using namespace platform;
  width = std::clamp(width, 1, 8192);
  height = std::clamp(height, 1, 8192);
  g_rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  std::uint32_t* out = g_rgba.data();
  surface().read_pixels([&](const Pixels& px) {
    if (width == kWidth && height == kHeight) {
      for (std::size_t i = 0; i < px.size(); ++i) out[i] = g_colours[px[i]];
    } else {
      if (g_scaler.width() != width || g_scaler.height() != height) g_scaler.plan(width, height);
      g_scaler.scale(px, g_colours, out, width);
    }
  });
  for (std::uint32_t& p : g_rgba) p |= 0xFF000000U;
  return out;
}

// The texts on screen, as JSON: the screen they stand on (a clear begins a
// new one), and each with the place of its characters (x, y, w, h), where
// it was drawn from (ax: leading blanks included) and how large (m), its
// colour, the fill under it, the frame around it (-1 for none), its text
// in Unicode and when it was drawn; in the order drawn.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_texts() {
  using namespace platform;
  static std::string json;
  json = "{\"revision\":" + std::to_string(g_texts.revision()) + ",\"screen\":" + std::to_string(g_texts.screen()) +
         ",\"texts\":[";
  bool first = true;
  for (const TextModel::Text& t : g_texts.texts()) {
    const TextModel::Rect e = t.extent();
    const std::size_t from = t.bytes.find_first_not_of(' ');
    const std::size_t to = t.bytes.find_last_not_of(' ');
    if (!first) json += ",";
    first = false;
    json += "{\"x\":" + std::to_string(e.left) + ",\"y\":" + std::to_string(e.top) +
            ",\"w\":" + std::to_string(e.right - e.left + 1) + ",\"h\":" + std::to_string(e.bottom - e.top + 1) +
            ",\"ax\":" + std::to_string(t.x) + ",\"m\":" + std::to_string(t.magnification) +
            ",\"c\":" + std::to_string(t.colour) + ",\"b\":" + std::to_string(t.background) +
            ",\"f\":" + std::to_string(g_texts.frame_of(t)) + ",\"n\":" + std::to_string(t.drawn) +
            ",\"t\":" + json_string(std::string_view(t.bytes).substr(from, to - from + 1)) + "}";
  }
  json += "]}";
  return json.c_str();
}

// What the screen asks for now, as JSON; "asking" is empty when the game
// is not waiting for a key.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_offer() {
  using namespace platform;
  static std::string json;
  const KeyOffer& offer = key_offer();
  const bool open = g_waiting && !g_answered;
  json = "{\"wait\":" + std::to_string(g_waits) + ",\"asking\":\"" + (open ? asking_name(offer.asking) : "") +
         "\",\"topic\":" + json_string(offer.topic) + ",\"focus\":";
  append_place(json, offer.focus);
  json += ",\"keys\":[";
  for (std::size_t i = 0; open && i < offer.keys.size(); ++i) {
    const OfferedKey& k = offer.keys[i];
    if (i > 0) json += ",";
    json += "{\"label\":" + json_string(k.label) + ",\"confirm\":" + (k.confirm ? "true" : "false") + ",\"bytes\":[";
    for (std::size_t b = 0; b < k.bytes.size(); ++b) {
      json += (b > 0 ? "," : "") + std::to_string(static_cast<unsigned char>(k.bytes[b]));
    }
    json += "],\"place\":";
    append_place(json, k.place);
    json += "}";
  }
  json += "]}";
  return json.c_str();
}

// The page chose the offered key `index` of key wait `wait`: its bytes go
// into the queue, once, and only while that wait lasts.
extern "C" EMSCRIPTEN_KEEPALIVE int zelvanos_web_choose(std::uint32_t wait, int index) {
  using namespace platform;
  const KeyOffer& offer = key_offer();
  if (wait != g_waits || !g_waiting || g_answered || index < 0 ||
      static_cast<std::size_t>(index) >= offer.keys.size()) {
    return 0;
  }
  g_answered = true;
  const std::string& bytes = offer.keys[static_cast<std::size_t>(index)].bytes;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    if (b == keycode::kExtended && i + 1 < bytes.size()) {
      key_queue().push_extended(static_cast<std::uint8_t>(bytes[++i]));
    } else {
      key_queue().push(b);
    }
  }
  zelvanos_web_wake();
  return 1;
}

// A keydown of the page (its DOM key name and modifiers), through the same
// translation as the window's: 1 when the key is the game's (the page then
// keeps it from the browser).
extern "C" EMSCRIPTEN_KEEPALIVE int zelvanos_web_key_event(const char* key, int ctrl, int alt, int meta) {
  if (!platform::push_dom_key(platform::key_queue(), key, ctrl != 0, alt != 0, meta != 0)) return 0;
  zelvanos_web_wake();
  return 1;
}
