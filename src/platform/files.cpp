#include "platform/files.hpp"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

#if defined(_WIN32)
#include <process.h>
#define ZELVANOS_GETPID _getpid
#else
#include <unistd.h>
#define ZELVANOS_GETPID getpid
#endif

namespace platform {
namespace {

WriteObserver g_write_observer = nullptr;

std::string describe(int code) {
  switch (code) {
    case 2: return "file not found";
    case 3: return "path not found";
    case 4: return "too many open files";
    case 5: return "access denied";
    case 100: return "file too short (read past end of file)";
    case 101: return "disk write error";
    default: return "I/O error";
  }
}

// The I/O error number for a failed open.
int open_error(int err, const std::filesystem::path& path) {
  switch (err) {
    case ENOENT: {
      std::error_code ec;
      const auto parent = path.parent_path();
      if (!parent.empty() && !std::filesystem::is_directory(parent, ec)) return 3;
      return 2;
    }
    case ENOTDIR: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return 5;
    default: return 5;
  }
}

// Temporary files of writes that a crash cut short: "<name>.tmp<pid>" beside
// the target, older than any write takes.
void remove_stale_temporaries(const std::filesystem::path& target) {
  std::error_code ec;
  const auto folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
  const std::string prefix = target.filename().string() + ".tmp";
  const auto now = std::filesystem::file_time_type::clock::now();
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) continue;
    const auto written = entry.last_write_time(ec);
    if (!ec && now - written > std::chrono::seconds(10)) std::filesystem::remove(entry.path(), ec);
  }
}

}  // namespace

IoError::IoError(int code, const std::filesystem::path& path, const std::string& problem)
    : Fatal(code, path.generic_string() + ": " + problem + " (I/O error " + std::to_string(code) + ")"),
      path_(path) {}

std::filesystem::path game_path(std::string_view dos_path) {
  std::filesystem::path p;
  std::size_t start = 0;
  while (start <= dos_path.size()) {
    std::size_t sep = dos_path.find('\\', start);
    if (sep == std::string_view::npos) sep = dos_path.size();
    if (sep > start) p /= std::string(dos_path.substr(start, sep - start));
    start = sep + 1;
  }
  return p;
}

std::vector<std::uint8_t> read_record(const std::filesystem::path& path, std::size_t size) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw IoError(5, path, describe(5));
  std::FILE* f = std::fopen(path.string().c_str(), "rb");
  if (f == nullptr) {
    const int code = open_error(errno, path);
    throw IoError(code, path, describe(code));
  }
  std::vector<std::uint8_t> bytes(size);
  const std::size_t got = std::fread(bytes.data(), 1, size, f);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed || got != size) {
    throw IoError(100, path, got < size ? "file too short: " + std::to_string(got) + " of " +
                                              std::to_string(size) + " bytes (read past end of file)"
                                        : describe(100));
  }
  return bytes;
}

void write_record(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw IoError(5, path, describe(5));
#if !defined(_WIN32)
  // A file the player made read-only stays as it is, as an overwrite in place would.
  if (std::filesystem::exists(path, ec) && ::access(path.string().c_str(), W_OK) != 0) {
    throw IoError(5, path, describe(5));
  }
#endif
  std::filesystem::path temp = path;
  temp += ".tmp" + std::to_string(ZELVANOS_GETPID());
  std::FILE* f = std::fopen(temp.string().c_str(), "wb");
  if (f == nullptr) {
    const int code = open_error(errno, path);
    throw IoError(code, path, describe(code));
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
#if !defined(_WIN32)
  ok = ::fsync(fileno(f)) == 0 && ok;
#endif
  ok = std::fclose(f) == 0 && ok;
  if (ok) {
    std::filesystem::rename(temp, path, ec);
    ok = !ec;
  }
  if (!ok) {
    std::filesystem::remove(temp, ec);
    throw IoError(101, path, describe(101) + ", the old file is kept");
  }
  remove_stale_temporaries(path);
  if (g_write_observer != nullptr) g_write_observer(path);
}

void set_write_observer(WriteObserver observer) { g_write_observer = observer; }

}  // namespace platform
