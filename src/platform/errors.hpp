// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The failures that cross between the game and the machine: what ends the
// program with an exit code, what ends a session cleanly, and the failures
// of record files.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

// A failure that ends the program with the given exit code, after one clear
// line on standard error (the exception's text).
class Fatal : public std::runtime_error {
 public:
  Fatal(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// Thrown out of ReadKey and Delay when the session is over: the window was
// closed, or a headless run's key script has run out. The main program
// catches it and shuts down cleanly.
struct SessionEnded {};

// A record file could not be read or written; the code is the classic I/O
// error number (see platform/io_messages.hpp). The problem is given in
// English, for the program's line on standard error, and in Hungarian, for
// the programs that speak both and the message box (empty: the number's
// own meaning says it).
class IoError : public Fatal {
 public:
  IoError(int code, const std::filesystem::path& path, const std::string& problem, std::string problem_hu = {})
      : Fatal(code, path.generic_string() + ": " + problem + " (I/O error " + std::to_string(code) + ")"),
        path_(path),
        problem_(problem),
        problem_hu_(std::move(problem_hu)) {}
  // The file (or folder) the failure concerns, as the caller named it.
  const std::filesystem::path& path() const { return path_; }
  const std::string& problem() const { return problem_; }
  const std::string& problem_hu() const { return problem_hu_; }

 private:
  std::filesystem::path path_;
  std::string problem_;
  std::string problem_hu_;
};

}  // namespace platform
