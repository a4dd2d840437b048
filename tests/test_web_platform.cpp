// SPDX-License-Identifier: GPL-3.0-or-later
// What the web page's backend builds on and can be checked without a
// browser: its keys' translation and the hook that stores each save.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/keys.hpp"

using namespace platform;

namespace {

std::vector<int> bytes_of(std::string_view key, bool ctrl = false, bool alt = false, bool meta = false,
                          bool* taken = nullptr) {
  KeyQueue q;
  const bool t = push_dom_key(q, key, ctrl, alt, meta);
  if (taken != nullptr) *taken = t;
  std::vector<int> out;
  while (auto b = q.try_pop()) out.push_back(*b);
  return out;
}

TEST(DomKeys, NamedKeysGiveTheWindowsBytes) {
  EXPECT_EQ(bytes_of("Enter"), std::vector<int>{13});
  EXPECT_EQ(bytes_of("Escape"), std::vector<int>{27});
  EXPECT_EQ(bytes_of("Backspace"), std::vector<int>{8});
  EXPECT_EQ(bytes_of("ArrowUp"), (std::vector<int>{0, 72}));
  EXPECT_EQ(bytes_of("ArrowDown"), (std::vector<int>{0, 80}));
  EXPECT_EQ(bytes_of("ArrowRight"), (std::vector<int>{0, 77}));
  EXPECT_EQ(bytes_of("Delete"), (std::vector<int>{0, 83}));
  EXPECT_EQ(bytes_of("F1"), (std::vector<int>{0, 59}));
  EXPECT_EQ(bytes_of("F10"), (std::vector<int>{0, 68}));
  EXPECT_EQ(bytes_of("F1", true), (std::vector<int>{0, 94}));
}

TEST(DomKeys, CharactersBecomeCodePage852Bytes) {
  EXPECT_EQ(bytes_of("a"), std::vector<int>{'a'});
  EXPECT_EQ(bytes_of("H"), std::vector<int>{'H'});
  EXPECT_EQ(bytes_of(" "), std::vector<int>{' '});
  EXPECT_EQ(bytes_of("ő"), std::vector<int>{cp852::byte_for(U'ő')});
  EXPECT_EQ(bytes_of("Ű"), std::vector<int>{cp852::byte_for(U'Ű')});
}

TEST(DomKeys, WhatTheGameHasNoUseForStaysTheBrowsers) {
  for (const char* key : {"Shift", "Control", "Alt", "Dead", "Unidentified", "F11", "F12", "€", "😀", ""}) {
    bool taken = true;
    EXPECT_TRUE(bytes_of(key, false, false, false, &taken).empty()) << key;
    EXPECT_FALSE(taken) << key;
  }
  // Nothing while Alt or Meta is held; no characters with Ctrl (its shortcuts stay the browser's).
  EXPECT_TRUE(bytes_of("Enter", false, true).empty());
  EXPECT_TRUE(bytes_of("a", false, false, true).empty());
  EXPECT_TRUE(bytes_of("r", true).empty());
}

std::vector<std::filesystem::path> g_written;

TEST(WriteObserver, HearsOfEachCompletedWriteOnly) {
  const auto dir = std::filesystem::temp_directory_path() / "zelvanos-write-observer";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  g_written.clear();
  set_write_observer([](const std::filesystem::path& p) { g_written.push_back(p); });
  const std::vector<std::uint8_t> bytes = {1, 2, 3};
  write_record(dir / "Config.cfg", bytes);
  write_record(dir / "Config.cfg", bytes);
  EXPECT_THROW(write_record(dir / "missing" / "Config.cfg", bytes), IoError);
  set_write_observer(nullptr);
  write_record(dir / "Config.cfg", bytes);
  EXPECT_EQ(g_written, (std::vector<std::filesystem::path>{dir / "Config.cfg", dir / "Config.cfg"}));
  std::filesystem::remove_all(dir);
}

}  // namespace
