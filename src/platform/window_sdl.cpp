// SPDX-License-Identifier: GPL-3.0-or-later
#include <SDL.h>
#if defined(ZELVANOS_X11)
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/backend.hpp"
#include "platform/cp852.hpp"
#include "platform/keys.hpp"
#include "platform/png.hpp"
#include "platform/scaler.hpp"
#include "platform/window.hpp"

namespace platform {
namespace {

std::atomic<std::int64_t> g_first_present{0};

constexpr const char* kConnectionLost =
    "megszakadt a kapcsolat az X szerverrel / the connection to the X server was lost";

// Without XDG_RUNTIME_DIR (and no absolute WAYLAND_DISPLAY or a
// WAYLAND_SOCKET) no Wayland compositor can be reached, and libwayland says
// so in a line of its own while SDL looks for one. Then SDL is asked for its
// other drivers, in its own order, unless the user named drivers.
void skip_unreachable_wayland() {
  if (SDL_getenv("SDL_VIDEODRIVER") != nullptr || SDL_getenv("WAYLAND_SOCKET") != nullptr ||
      SDL_getenv("XDG_RUNTIME_DIR") != nullptr) {
    return;
  }
  if (const char* display = SDL_getenv("WAYLAND_DISPLAY"); display != nullptr && display[0] == '/') return;
  std::string others;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const std::string name = SDL_GetVideoDriver(i);
    if (name == "wayland") continue;
    others += (others.empty() ? "" : ",") + name;
  }
  SDL_SetHint(SDL_HINT_VIDEODRIVER, others.c_str());
}

// The text of the session's one line about a failed display, said once.
void say_once(const std::string& line) {
  static std::atomic<bool> said{false};
  if (said.exchange(true)) return;
  std::fprintf(stderr, "zelvanos: %s\n", line.c_str());
  std::fflush(stderr);
}

// The game's icon as a PNG file, built into the program.
constexpr unsigned char kIconPng[] = {
#include "window_icon.inc"
};

// Commands the game thread hands to the window thread.
enum class Request { kNone, kOpen, kClose };
enum class WindowState { kClosed, kOpen, kFailed };

class SdlBackend final : public Backend {
 public:
  SdlBackend() : start_(std::chrono::steady_clock::now()) {}

  // --- game thread ---------------------------------------------------------
  void open(const std::string& title) override {
    std::unique_lock lock(mutex_);
    if (abandoned_) throw SessionEnded{};
    title_ = title;
    request_ = Request::kOpen;
    cv_.notify_all();
    cv_.wait(lock, [this] { return request_ == Request::kNone || abandoned_; });
    if (abandoned_) throw SessionEnded{};
    if (state_ == WindowState::kFailed) {
      if (no_display_) throw NoDisplay(1, error_);
      throw Fatal(1, "nem nyílik meg a játék ablaka / the game's window cannot open: " + error_);
    }
    lock.unlock();
    surface().set_change_listener([this] { surface_changed(); });
    surface_changed();
  }

  void close() override {
    surface().set_change_listener(nullptr);
    std::unique_lock lock(mutex_);
    if (state_ != WindowState::kOpen || display_lost_) return;
    request_ = Request::kClose;
    wake_window_thread();
    cv_.wait(lock, [this] { return request_ == Request::kNone || abandoned_; });
  }

  void wait_for_key(KeyQueue& queue) override {
    if (!queue.wait_nonempty()) throw SessionEnded{};
  }

  void delay(unsigned ms, KeyQueue& /*queue*/) override {
    std::unique_lock lock(mutex_);
    if (cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return quit_.load(); })) throw SessionEnded{};
  }

  std::uint32_t ticks() override {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count());
  }

  Date today() override { return local_date(); }

  // Any thread: a close request as from the window's close button.
  void post_quit() {
    std::lock_guard lock(mutex_);
    if (state_ != WindowState::kOpen) return;
    SDL_Event ev{};
    ev.type = SDL_QUIT;
    SDL_PushEvent(&ev);
  }

  // Any thread: a task for the window thread, run while the window is open.
  void post_task(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    wake_window_thread();
  }

  // The window thread failed and is gone: everything waiting for it is
  // released, and the game's next key read or delay ends its session.
  void abandon() {
    {
      std::lock_guard lock(mutex_);
      state_ = WindowState::kFailed;
      abandoned_ = true;
      request_ = Request::kNone;
      quit_ = true;
    }
    cv_.notify_all();
    key_queue().interrupt();
  }

  void game_finished() {
    std::lock_guard lock(mutex_);
    game_done_ = true;
    cv_.notify_all();
    wake_window_thread();
  }

  // The display failed under the game (an X error, the window destroyed
  // from outside): one line, and the game unwinds as on the close button.
  // Any thread, and from inside Xlib: the caller may hold mutex_ when it is
  // the game thread.
  void display_failed(const std::string& why) {
    say_once(why);
    failed_ = true;
    if (std::this_thread::get_id() == window_thread_) {
      quit();
    } else {
      quit_ = true;
      key_queue().interrupt();
    }
  }

  // The connection to the display is gone: Xlib must not return from here.
  // On the window thread the game gets a few seconds to unwind (close its
  // sound, finish a file) first; the process then ends at once, without
  // running destructors under a thread that may still wait.
  [[noreturn]] void connection_lost() {
    say_once(kConnectionLost);
    display_lost_ = true;
    failed_ = true;
    if (std::this_thread::get_id() == window_thread_) {
      quit();
      std::unique_lock lock(mutex_);
      // A request the window thread will never finish is over.
      request_ = Request::kNone;
      state_ = WindowState::kClosed;
      cv_.notify_all();
      cv_.wait_for(lock, std::chrono::seconds(5), [this] { return game_done_; });
    }
    std::fflush(nullptr);
    ::_exit(1);
  }

  bool failed() const { return failed_; }

  // --- window thread -------------------------------------------------------
  void host() {
    window_thread_ = std::this_thread::get_id();
    for (;;) {
      std::unique_lock lock(mutex_);
      cv_.wait(lock, [this] { return request_ != Request::kNone || game_done_; });
      if (request_ == Request::kOpen) {
        const std::string title = title_;
        lock.unlock();
        const bool ok = create_window(title);
        lock.lock();
        state_ = ok ? WindowState::kOpen : WindowState::kFailed;
        request_ = Request::kNone;
        cv_.notify_all();
        if (!ok) continue;
        lock.unlock();
        run_window();
        lock.lock();
        state_ = WindowState::kClosed;  // no more events are posted from here on
        lock.unlock();
        // A display that failed is left alone: every call would fail again.
        if (!failed_) destroy_window();
        lock.lock();
        if (request_ == Request::kClose) request_ = Request::kNone;
        cv_.notify_all();
      } else if (request_ == Request::kClose) {
        request_ = Request::kNone;
        cv_.notify_all();
      } else if (game_done_) {
        return;
      }
    }
  }

 private:
  // Caller holds mutex_.
  void wake_window_thread() {
    if (wake_event_ == 0 || state_ != WindowState::kOpen || display_lost_) return;
    SDL_Event ev{};
    ev.type = wake_event_;
    SDL_PushEvent(&ev);
  }

  // Called after every drawing operation: one wake-up per frame at most.
  void surface_changed() {
    if (!present_pending_.exchange(true)) {
      std::lock_guard lock(mutex_);
      wake_window_thread();
    }
  }

  bool create_window(const std::string& title) {
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    skip_unreachable_wayland();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail();
    // Without a display SDL falls back to drivers that draw nowhere: the
    // game would wait for ever in a menu no one can see.
    if (const char* driver = SDL_GetCurrentVideoDriver();
        driver != nullptr && refuse_video_driver(driver, SDL_getenv("SDL_VIDEODRIVER"))) {
      destroy_window();
      std::lock_guard lock(mutex_);
      no_display_ = true;
      error_ = std::string(
                   "nincs kijelző, amelyen a játék ablaka megjelenhetne / no display to show the game's "
                   "window on (SDL found only its \"") +
               driver + "\" driver; is DISPLAY or WAYLAND_DISPLAY set?)";
      return false;
    }
    if (wake_event_ == 0) wake_event_ = SDL_RegisterEvents(1);
    // The picture is scaled on the CPU into the window's own framebuffer:
    // no OpenGL context, no GPU driver loaded, and a present is one shared
    // memory image sent to the X server.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    window_ = SDL_CreateWindow(cp852::to_utf8(title).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                               kHeight, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr) return fail();
    set_icon();
    if (SDL_GetWindowSurface(window_) == nullptr) return fail();
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window_);
    frame_ms_ = 16;
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
      frame_ms_ = static_cast<Uint32>(std::max(1, 1000 / mode.refresh_rate));
    }
    for (std::size_t i = 0; i < 256; ++i) {
      const Rgb c = palette()[i];
      rgb_[i] = (Uint32{c.r} << 16) | (Uint32{c.g} << 8) | Uint32{c.b};
    }
    SDL_StartTextInput();
    watch_display();
    present();
    return true;
  }

#if defined(ZELVANOS_X11)
  static int on_x_error(Display* display, XErrorEvent* error);
  static int on_x_io_error(Display* display);

  // Xlib's own handlers print several lines and call exit() on whichever
  // thread met the error, which then waits for ever on the game thread; ours
  // end the session cleanly. Also tells the window's destruction from
  // outside.
  void watch_display() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
    x_window_ = info.info.x11.window;
    XSetErrorHandler(on_x_error);
    XSetIOErrorHandler(on_x_io_error);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  }

  void system_event(const SDL_SysWMmsg& msg) {
    if (msg.subsystem != SDL_SYSWM_X11) return;
    const XEvent& ev = msg.msg.x11.event;
    if (ev.type == DestroyNotify && ev.xdestroywindow.window == x_window_) {
      display_failed("az ablakot kívülről megszüntették / the window was destroyed from outside");
    }
  }
#else
  void watch_display() {}
  void system_event(const SDL_SysWMmsg&) {}
#endif

  bool fail() {
    {
      std::lock_guard lock(mutex_);
      error_ = SDL_GetError();
    }
    destroy_window();
    return false;
  }

  void set_icon() {
    const auto icon = read_png_rgba(kIconPng, sizeof kIconPng);
    if (!icon) return;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(icon->rgba.data()), icon->width,
                                                        icon->height, 32, icon->width * 4, SDL_PIXELFORMAT_RGBA32);
    if (s == nullptr) return;
    SDL_SetWindowIcon(window_, s);
    SDL_FreeSurface(s);
  }

  void destroy_window() {
    if (staging_ != nullptr) SDL_FreeSurface(staging_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    staging_ = nullptr;
    window_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  bool close_requested() {
    std::lock_guard lock(mutex_);
    return request_ == Request::kClose || game_done_;
  }

  void run_window() {
    Uint32 next_frame = 0;
    bool repaint = false;
    while (!close_requested()) {
      const bool want = repaint || present_pending_.load();
      SDL_Event ev;
      bool got = false;
      if (!want) {
        // Bounded, for a display that failed may never deliver the wake-up.
        got = SDL_WaitEventTimeout(&ev, 200) != 0;
      } else {
        const Uint32 now = SDL_GetTicks();
        const int wait = SDL_TICKS_PASSED(now, next_frame) ? 0 : static_cast<int>(next_frame - now);
        got = wait == 0 ? SDL_PollEvent(&ev) != 0 : SDL_WaitEventTimeout(&ev, wait) != 0;
      }
      while (got) {
        if (handle(ev)) repaint = true;
        got = SDL_PollEvent(&ev) != 0;
      }
      run_tasks();
      if ((repaint || present_pending_.load()) && SDL_TICKS_PASSED(SDL_GetTicks(), next_frame)) {
        repaint = false;
        present();
        next_frame = SDL_GetTicks() + frame_ms_;
      }
    }
  }

  void run_tasks() {
    std::vector<std::function<void()>> tasks;
    {
      std::lock_guard lock(mutex_);
      tasks.swap(tasks_);
    }
    for (const auto& task : tasks) task();
  }

  void present() {
    present_pending_ = false;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::int64_t none = 0;
    g_first_present.compare_exchange_strong(none, now);
    surface().read_pixels([&](const Pixels& px) { *frame_ = px; });
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (target == nullptr) return;
    if (target->w != scaler_.width() || target->h != scaler_.height()) scaler_.plan(target->w, target->h);
    // 32-bit X8R8G8B8 is what X servers give; anything else goes through a
    // staging image that SDL converts.
    const SDL_PixelFormat* f = target->format;
    const bool direct = f->BytesPerPixel == 4 && f->Rmask == 0xFF0000U && f->Gmask == 0xFF00U && f->Bmask == 0xFFU &&
                        f->Amask == 0;
    SDL_Surface* into = target;
    if (!direct) {
      if (staging_ == nullptr || staging_->w != target->w || staging_->h != target->h) {
        if (staging_ != nullptr) SDL_FreeSurface(staging_);
        staging_ = SDL_CreateRGBSurfaceWithFormat(0, target->w, target->h, 32, SDL_PIXELFORMAT_RGB888);
        if (staging_ == nullptr) return;
      }
      into = staging_;
    }
    if (SDL_MUSTLOCK(into) && SDL_LockSurface(into) != 0) return;
    scaler_.scale(*frame_, rgb_, static_cast<std::uint32_t*>(into->pixels), into->pitch / 4);
    if (SDL_MUSTLOCK(into)) SDL_UnlockSurface(into);
    if (!direct) SDL_BlitSurface(staging_, nullptr, target, nullptr);
    SDL_UpdateWindowSurface(window_);
  }

  void quit() {
    {
      std::lock_guard lock(mutex_);
      quit_ = true;
    }
    cv_.notify_all();
    key_queue().interrupt();
  }

  void toggle_fullscreen() {
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  }

  void screenshot() {
    const std::string stamp = local_timestamp();
    std::filesystem::path path = std::string("zelvanos-") + stamp + ".png";
    for (int n = 2; std::filesystem::exists(path); ++n) {
      path = std::string("zelvanos-") + stamp + "-" + std::to_string(n) + ".png";
    }
    if (!write_png(path, surface().snapshot())) {
      std::fprintf(stderr, "zelvanos: could not save the screenshot %s\n", path.string().c_str());
    }
  }

  // Key translation; returns true when the window needs repainting.
  bool handle(const SDL_Event& ev) {
    switch (ev.type) {
      case SDL_QUIT: quit(); return false;
      case SDL_SYSWMEVENT:
        if (ev.syswm.msg != nullptr) system_event(*ev.syswm.msg);
        return false;
      case SDL_WINDOWEVENT:
        if (ev.window.event == SDL_WINDOWEVENT_CLOSE) quit();
        if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST) alt_ = ctrl_ = false;
        return ev.window.event == SDL_WINDOWEVENT_EXPOSED || ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED;
      case SDL_TEXTINPUT:
        if (!alt_) text_input(ev.text.text);
        return false;
      case SDL_KEYUP: modifier(ev.key.keysym.sym, false); return false;
      case SDL_KEYDOWN: key_down(ev.key.keysym); return false;
      default: return false;
    }
  }

  void modifier(SDL_Keycode key, bool down) {
    if (key == SDLK_LALT || key == SDLK_RALT) alt_ = down;
    if (key == SDLK_LCTRL || key == SDLK_RCTRL) ctrl_ = down;
  }

  static void text_input(const char* utf8) { push_text(key_queue(), utf8); }

  void key_down(const SDL_Keysym& key) {
    modifier(key.sym, true);
    if (key.sym == SDLK_F11 || (alt_ && (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER))) {
      toggle_fullscreen();
      return;
    }
    if (key.sym == SDLK_F12) {
      screenshot();
      return;
    }
    if (alt_) return;
    push_key(key_queue(), sdl_key(key.sym, (key.mod & KMOD_NUM) != 0), ctrl_);
  }

  static Key sdl_key(SDL_Keycode sym, bool numlock) {
    if (sym >= SDLK_F1 && sym <= SDLK_F10) return static_cast<Key>(static_cast<int>(Key::kF1) + (sym - SDLK_F1));
    switch (sym) {
      case SDLK_RETURN:
      case SDLK_KP_ENTER: return Key::kEnter;
      case SDLK_ESCAPE: return Key::kEsc;
      case SDLK_BACKSPACE: return Key::kBackspace;
      case SDLK_TAB: return Key::kTab;
      case SDLK_UP: return Key::kUp;
      case SDLK_DOWN: return Key::kDown;
      case SDLK_LEFT: return Key::kLeft;
      case SDLK_RIGHT: return Key::kRight;
      case SDLK_HOME: return Key::kHome;
      case SDLK_END: return Key::kEnd;
      case SDLK_PAGEUP: return Key::kPageUp;
      case SDLK_PAGEDOWN: return Key::kPageDown;
      case SDLK_INSERT: return Key::kInsert;
      case SDLK_DELETE: return Key::kDelete;
      default: break;
    }
    if (numlock) return Key::kOther;  // the keypad types digits
    switch (sym) {
      case SDLK_KP_8: return Key::kUp;
      case SDLK_KP_2: return Key::kDown;
      case SDLK_KP_4: return Key::kLeft;
      case SDLK_KP_6: return Key::kRight;
      case SDLK_KP_7: return Key::kHome;
      case SDLK_KP_1: return Key::kEnd;
      case SDLK_KP_9: return Key::kPageUp;
      case SDLK_KP_3: return Key::kPageDown;
      case SDLK_KP_0: return Key::kInsert;
      case SDLK_KP_PERIOD: return Key::kDelete;
      default: return Key::kOther;
    }
  }

  std::mutex mutex_;
  std::condition_variable cv_;
  Request request_ = Request::kNone;
  WindowState state_ = WindowState::kClosed;
  bool game_done_ = false;
  std::atomic<bool> quit_{false};
  bool no_display_ = false;
  bool abandoned_ = false;
  std::vector<std::function<void()>> tasks_;
  std::atomic<bool> failed_{false};
  std::atomic<bool> display_lost_{false};
  std::thread::id window_thread_;
  std::string title_;
  std::string error_;
  std::atomic<bool> present_pending_{false};
  std::atomic<Uint32> wake_event_{0};
  std::chrono::steady_clock::time_point start_;

  // Window thread only.
  SDL_Window* window_ = nullptr;
  SDL_Surface* staging_ = nullptr;
  Scaler scaler_;
  std::unique_ptr<Pixels> frame_ = std::make_unique<Pixels>();  // the picture being presented
  Uint32 frame_ms_ = 16;
  std::uint32_t rgb_[256]{};
  bool alt_ = false;
  bool ctrl_ = false;
#if defined(ZELVANOS_X11)
  Window x_window_ = 0;
#endif
};

std::atomic<SdlBackend*> g_running{nullptr};
std::atomic<bool> g_display_failed{false};

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (SDL_tolower(static_cast<unsigned char>(a[i])) != SDL_tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// Whether a comma-separated list of driver names (null: none) holds `name`.
bool listed(const char* list, std::string_view name) {
  const std::string_view names = list != nullptr ? list : "";
  for (std::size_t start = 0; start < names.size();) {
    std::size_t end = names.find(',', start);
    if (end == std::string_view::npos) end = names.size();
    if (same_name(names.substr(start, end - start), name)) return true;
    start = end + 1;
  }
  return false;
}

std::mutex g_unexpected_mutex;
std::string g_unexpected;

// Runs one thread's work; an exception that escapes it is reported in one
// line and becomes exit code 1.
int guarded(const char* thread, const std::function<int()>& work) {
  std::string what;
  try {
    return work();
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
    what = "unknown exception";
  }
  const std::string line = std::string("váratlan hiba / unexpected error (") + thread + " thread): " + what;
  std::fprintf(stderr, "zelvanos: %s\n", line.c_str());
  std::lock_guard lock(g_unexpected_mutex);
  if (g_unexpected.empty()) g_unexpected = line;
  return 1;
}

#if defined(ZELVANOS_X11)
int SdlBackend::on_x_error(Display* display, XErrorEvent* error) {
  char text[160] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  if (SdlBackend* b = g_running.load()) b->display_failed(std::string("X hiba / X error: ") + text);
  return 0;
}

int SdlBackend::on_x_io_error(Display* /*display*/) {
  if (SdlBackend* b = g_running.load()) b->connection_lost();
  say_once(kConnectionLost);
  std::fflush(nullptr);
  ::_exit(1);
}
#endif

}  // namespace

std::chrono::steady_clock::time_point first_present_time() {
  return std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(g_first_present.load()));
}

void post_window_close() {
  if (SdlBackend* b = g_running.load()) b->post_quit();
}

int run_windowed(const std::function<int()>& game) {
  {
    std::lock_guard lock(g_unexpected_mutex);
    g_unexpected.clear();
  }
  SdlBackend backend;
  use_backend(&backend);
  g_running = &backend;
  int code = 0;
  std::thread game_thread([&] {
    code = guarded("game", game);
    backend.game_finished();
  });
  const int window_code = guarded("window", [&] {
    backend.host();
    return 0;
  });
  if (window_code != 0) backend.abandon();
  game_thread.join();
  surface().set_change_listener(nullptr);  // a game that failed may not have closed the window
  g_running = nullptr;
  use_backend(nullptr);
  g_display_failed = backend.failed();
  if (backend.failed()) return code != 0 ? code : 1;  // SDL's teardown would only meet the failed display again
  SDL_Quit();
  return window_code != 0 ? window_code : code;
}

bool display_failed() { return g_display_failed.load(); }

std::string unexpected_failure() {
  std::lock_guard lock(g_unexpected_mutex);
  return g_unexpected;
}

void post_to_window_thread(std::function<void()> task) {
  if (SdlBackend* b = g_running.load()) b->post_task(std::move(task));
}

bool refuse_video_driver(std::string_view driver, const char* requested) {
  if (!same_name(driver, "offscreen") && !same_name(driver, "dummy")) return false;
  return !listed(requested, driver);
}

void show_error_box(const std::string& title, const std::string& text) {
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  if (listed(requested, "offscreen") || listed(requested, "dummy")) return;
  // A failure here (no display at all) leaves the line on standard error.
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}

}  // namespace platform
