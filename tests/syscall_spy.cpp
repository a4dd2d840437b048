// SPDX-License-Identifier: GPL-3.0-or-later
#include "syscall_spy.hpp"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <mutex>

#include <dlfcn.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace spy {
namespace {

std::mutex g_mutex;
std::vector<std::string> g_calls;
std::atomic<bool> g_recording{false};
std::atomic<int> g_flock_error{0};

template <typename F>
F real(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

std::string absolute(const char* path) {
  std::error_code ec;
  const auto p = std::filesystem::absolute(path, ec);
  return (ec ? std::filesystem::path(path) : p).lexically_normal().string();
}

void record(std::string call) {
  const std::lock_guard lock(g_mutex);
  g_calls.push_back(std::move(call));
}

}  // namespace

std::vector<std::string> calls() {
  const std::lock_guard lock(g_mutex);
  return g_calls;
}

void start_recording() {
  {
    const std::lock_guard lock(g_mutex);
    g_calls.clear();
  }
  g_recording = true;
}

void stop_recording() { g_recording = false; }

void fail_flock_with(int err) { g_flock_error = err; }

}  // namespace spy

extern "C" {

int fsync(int fd) {
  static const auto next = spy::real<int (*)(int)>("fsync");
  if (spy::g_recording) {
    char link[64];
    char path[PATH_MAX] = {};
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, path, sizeof path - 1);
    struct stat st = {};
    const bool folder = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    spy::record("fsync " + std::string(path, n > 0 ? static_cast<std::size_t>(n) : 0) + (folder ? "/" : ""));
  }
  return next(fd);
}

int rename(const char* from, const char* to) noexcept {
  static const auto next = spy::real<int (*)(const char*, const char*)>("rename");
  if (spy::g_recording) spy::record("rename " + spy::absolute(from) + " " + spy::absolute(to));
  return next(from, to);
}

int flock(int fd, int operation) noexcept {
  static const auto next = spy::real<int (*)(int, int)>("flock");
  if (const int err = spy::g_flock_error.load(); err != 0) {
    errno = err;
    return -1;
  }
  return next(fd, operation);
}

}  // extern "C"
