#pragma once
// Record files relative to the working folder. Reads take the first record
// of a file; writes replace the whole file safely: the record goes to a
// temporary file in the same folder, which is then renamed over the old one,
// so a crash or a full disk never leaves a cut-off file behind.
//
// Failures carry the classic I/O error numbers the game exits with:
// 2 file not found, 3 path not found, 4 too many open files,
// 5 access denied, 100 read past end of file, 101 disk write error.

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graph.hpp"

namespace platform {

class IoError : public Fatal {
 public:
  IoError(int code, const std::filesystem::path& path, const std::string& problem);
  // The file (or folder) the failure concerns, as the caller named it.
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// "Data\Config.cfg" as a path of this platform.
std::filesystem::path game_path(std::string_view dos_path);

// The first `size` bytes of the file.
std::vector<std::uint8_t> read_record(const std::filesystem::path& path, std::size_t size);

// Replaces the file by exactly these bytes.
void write_record(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Called at the end of every write_record that succeeded, with its path:
// the web page stores its files in the browser there. nullptr for none.
using WriteObserver = void (*)(const std::filesystem::path& path);
void set_write_observer(WriteObserver observer);

}  // namespace platform
