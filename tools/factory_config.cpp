// zelvanos-factory-config PATH: writes the factory settings record to PATH,
// unless a settings file is already there (a player's settings are never
// overwritten).

#include <cstdio>
#include <filesystem>

#include "platform/files.hpp"
#include "shell/settings.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zelvanos-factory-config PATH\n");
    return 64;
  }
  const std::filesystem::path path = argv[1];
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return 0;
  shell::BEALLITASOK settings;
  shell::apply_factory_values(settings);
  try {
    platform::write_record(path, shell::encode(settings));
  } catch (const platform::Fatal& e) {
    std::fprintf(stderr, "zelvanos-factory-config: %s\n", e.what());
    return e.code();
  }
  return 0;
}
