// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/graph.hpp"

#include <ctime>
#include <utility>

#include "platform/backend.hpp"

namespace platform {
namespace {

Backend* g_backend = nullptr;
Tracer* g_tracer = nullptr;
TextModel* g_text_model = nullptr;
KeyOffer g_offer;
std::string g_title;

Surface& the_surface() {
  static Surface s;
  return s;
}

// PCG32 (O'Neill): small, fast and uniform; seeded only by Randomize.
struct Pcg32 {
  std::uint64_t state = 0x853C49E6748FEA9BULL;
  static constexpr std::uint64_t kIncrement = 0xDA3E39CB94B95BDBULL;

  void seed(std::uint64_t s) {
    state = 0;
    next();
    state += s;
    next();
  }
  std::uint32_t next() {
    const std::uint64_t old = state;
    state = old * 6364136223846793005ULL + kIncrement;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
    const auto rot = static_cast<std::uint32_t>(old >> 59U);
    return (xorshifted >> rot) | (xorshifted << ((32U - rot) & 31U));
  }
};

Pcg32 g_random;

}  // namespace

std::uint16_t weekday_of(int year, int month, int day) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  const int w = (year + year / 4 - year / 100 + year / 400 + kOffsets[(month - 1) % 12] + day) % 7;
  return static_cast<std::uint16_t>(w);
}

namespace {

std::tm local_now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

Date local_date() {
  const std::tm local = local_now();
  return {static_cast<std::uint16_t>(local.tm_year + 1900), static_cast<std::uint16_t>(local.tm_mon + 1),
          static_cast<std::uint16_t>(local.tm_mday), static_cast<std::uint16_t>(local.tm_wday)};
}

std::string local_timestamp() {
  const std::tm local = local_now();
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return stamp;
}

void use_backend(Backend* backend) { g_backend = backend; }
void set_tracer(Tracer* tracer) { g_tracer = tracer; }
Tracer* tracer() { return g_tracer; }
void set_text_model(TextModel* model) { g_text_model = model; }
const KeyOffer& key_offer() { return g_offer; }

void offer_keys(KeyOffer offer) { g_offer = std::move(offer); }

void offer_any_key(std::string_view label) {
  offer_keys({Asking::kPrompt, {{"\r", std::string(label), {}, false}}, {}, {}});
}

Surface& surface() { return the_surface(); }

KeyQueue& key_queue() {
  // Never destroyed: an exit() on one thread must not wait for ever on the
  // game thread sleeping in its key wait.
  static KeyQueue& q = *new KeyQueue;
  return q;
}

void reset_state() {
  the_surface().reset();
  key_queue().reset();
  g_random = Pcg32{};
  g_offer = {};
}

void SetWindowTitle(std::string_view title) { g_title = title; }

void InitGraph(std::int16_t& /*driver*/, std::int16_t& /*mode*/, std::string_view /*font_path*/) {
  the_surface().reset();
  if (g_text_model != nullptr) g_text_model->clear();
  if (g_backend != nullptr) g_backend->open(g_title);
}

void CloseGraph() {
  if (g_backend != nullptr) g_backend->close();
}

void ClearDevice() {
  the_surface().clear_device();
  if (g_text_model != nullptr) g_text_model->clear();
}

void SetColor(std::uint16_t colour) { the_surface().set_color(colour); }
void SetFillStyle(std::uint16_t pattern, std::uint16_t colour) { the_surface().set_fill_style(pattern, colour); }
void Bar(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
  Surface& s = the_surface();
  s.bar(x1, y1, x2, y2);
  if (g_text_model != nullptr) g_text_model->fill(x1, y1, x2, y2, s.fill_color());
}

void Rectangle(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
  Surface& s = the_surface();
  s.rectangle(x1, y1, x2, y2);
  if (g_text_model != nullptr) g_text_model->outline(x1, y1, x2, y2, s.color());
}

void Line(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) { the_surface().line(x1, y1, x2, y2); }
void Circle(std::int16_t x, std::int16_t y, std::uint16_t radius) { the_surface().circle(x, y, radius); }

void SetTextStyle(std::int16_t font, std::int16_t direction, std::uint16_t magnification) {
  the_surface().set_text_style(font, direction, magnification);
}

void OutTextXY(std::int16_t x, std::int16_t y, std::string_view text) {
  Surface& s = the_surface();
  if (g_tracer != nullptr) g_tracer->text(x, y, s.color(), s.magnification(), text);
  s.out_text_xy(x, y, text);
  if (g_text_model != nullptr) g_text_model->text(x, y, s.color(), s.magnification(), text);
}

std::uint8_t ReadKey() {
  if (g_tracer != nullptr) g_tracer->key_wait();
  KeyQueue& q = key_queue();
  for (;;) {
    if (const auto byte = q.try_pop()) {
      g_offer = {};  // the declaration held for this read only
      if (g_tracer != nullptr) g_tracer->key_read(*byte);
      return *byte;
    }
    if (g_backend == nullptr) throw SessionEnded{};
    g_backend->wait_for_key(q);
  }
}

void Delay(std::uint16_t ms) {
  if (g_tracer != nullptr) g_tracer->delay(ms);
  if (g_backend != nullptr) g_backend->delay(ms, key_queue());
}

void GetDate(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day, std::uint16_t& weekday) {
  const Date d = g_backend != nullptr ? g_backend->today() : Date{};
  year = d.year;
  month = d.month;
  day = d.day;
  weekday = d.weekday;
}

void trace_sound(std::string_view operation, int slot, std::string_view file) {
  if (g_tracer != nullptr) g_tracer->sound(operation, slot, file);
}

std::uint32_t TickCount() { return g_backend != nullptr ? g_backend->ticks() : 0; }

void Randomize() { g_random.seed(TickCount()); }

std::int32_t Random(std::int32_t n) {
  if (n <= 0) return 0;
  // Lemire's multiply-and-reject: exactly uniform over 0 .. n - 1.
  const auto range = static_cast<std::uint32_t>(n);
  std::uint64_t m = static_cast<std::uint64_t>(g_random.next()) * range;
  auto low = static_cast<std::uint32_t>(m);
  if (low < range) {
    const std::uint32_t threshold = (0U - range) % range;
    while (low < threshold) {
      m = static_cast<std::uint64_t>(g_random.next()) * range;
      low = static_cast<std::uint32_t>(m);
    }
  }
  return static_cast<std::int32_t>(m >> 32U);
}

}  // namespace platform
