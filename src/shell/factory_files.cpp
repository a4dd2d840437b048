// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/factory_files.hpp"

#include <cstdint>
#include <span>
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

}  // namespace shell
