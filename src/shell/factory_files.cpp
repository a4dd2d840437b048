// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/factory_files.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <system_error>

#include "game/highscores.hpp"
#include "platform/files.hpp"
#include "shell/settings.hpp"

namespace shell {

namespace {

void write_if_missing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::error_code ec;
  // The link itself is looked at, not what it names.
  if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return;
  platform::write_record(path, bytes);
}

}  // namespace

void write_factory_files(const std::filesystem::path& data_folder) {
  write_if_missing(data_folder / "Config.cfg", settings::encode(kFactorySettings));
  game::EREDMENYLISTA list;
  game::reset_list(list);
  write_if_missing(data_folder / "HighScores.cfg", game::encode(list));
}

bool prepare_player_folder(const std::filesystem::path& folder, const std::optional<std::filesystem::path>& share) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path data = folder / "Data";
  bool created = false;
  if (!fs::is_directory(data, ec)) {
    fs::create_directories(data, ec);
    if (ec) throw platform::io_error(platform::FileStep::kCreate, ec.value(), data);
    created = true;
  }
  write_factory_files(data);
  if (!share) return created;
  for (const char* part : {"Questions", "Sounds"}) {
    const fs::path link = folder / part;
    const auto status = fs::symlink_status(link, ec);
    if (fs::is_symlink(status) && !fs::exists(link, ec)) {
      // An earlier installation's link, left dangling by an update.
      const std::string to = fs::read_symlink(link, ec).generic_string();
      const std::string earlier = std::string("/zelvanos/") + part;
      if (to.size() >= earlier.size() && to.compare(to.size() - earlier.size(), earlier.size(), earlier) == 0) {
        fs::remove(link, ec);
      }
    }
    if (fs::exists(fs::symlink_status(link, ec))) continue;  // the player's own folder or link
    fs::create_directory_symlink(*share / part, link, ec);
    if (ec) throw platform::io_error(platform::FileStep::kCreate, ec.value(), link);
  }
  return created;
}

}  // namespace shell
