// SPDX-License-Identifier: GPL-3.0-or-later
// The key queue, the key read and the headless backend's key scripts.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/backend.hpp"
#include "platform/headless.hpp"

using namespace platform;

namespace {

std::vector<int> drain(KeyQueue& q) {
  std::vector<int> out;
  while (auto b = q.try_pop()) out.push_back(*b);
  return out;
}

TEST(KeyQueue, HoldsThirtyOneBytesAndDropsTheOldest) {
  KeyQueue q;
  for (int i = 1; i <= 31; ++i) q.push(static_cast<std::uint8_t>(i));
  EXPECT_EQ(q.size(), 31);
  q.push(32);
  std::vector<int> expected;
  for (int i = 2; i <= 32; ++i) expected.push_back(i);
  EXPECT_EQ(drain(q), expected);

  // Over the wrap-around, many times.
  for (int i = 0; i < 100; ++i) q.push(static_cast<std::uint8_t>(i));
  const auto last = drain(q);
  ASSERT_EQ(last.size(), 31U);
  EXPECT_EQ(last.front(), 69);
  EXPECT_EQ(last.back(), 99);
}

TEST(KeyQueue, AnArrowPairIsDroppedAsAWhole) {
  KeyQueue q;
  q.push_extended(72);
  for (int i = 0; i < 29; ++i) q.push('a');
  EXPECT_EQ(q.size(), 31);
  q.push('b');
  const auto left = drain(q);
  ASSERT_EQ(left.size(), 30U) << "0 and 72 went together";
  EXPECT_EQ(left.front(), 'a');
  EXPECT_EQ(left.back(), 'b');

  // The pair arrives whole even at the very end of a full ring.
  for (int i = 0; i < 31; ++i) q.push('c');
  q.push_extended(80);
  const auto after = drain(q);
  EXPECT_EQ(after[after.size() - 2], 0);
  EXPECT_EQ(after.back(), 80);
}

TEST(KeyQueue, TwoThreadsLoseNothingInOrder) {
  KeyQueue q;
  constexpr int kCount = 20000;
  std::vector<int> got;
  std::thread reader([&] {
    while (static_cast<int>(got.size()) < kCount) {
      ASSERT_TRUE(q.wait_nonempty());
      while (auto b = q.try_pop()) got.push_back(*b);
    }
  });
  for (int i = 0; i < kCount; ++i) {
    while (q.size() > 20) std::this_thread::yield();  // a typist slower than the reader
    q.push(static_cast<std::uint8_t>(i % 251));
  }
  reader.join();
  ASSERT_EQ(got.size(), static_cast<std::size_t>(kCount));
  for (int i = 0; i < kCount; ++i) ASSERT_EQ(got[static_cast<std::size_t>(i)], i % 251) << i;
}

TEST(KeyQueue, InterruptWakesAWaitingReader) {
  KeyQueue q;
  bool result = true;
  std::thread reader([&] { result = q.wait_nonempty(); });
  q.interrupt();
  reader.join();
  EXPECT_FALSE(result);
  EXPECT_TRUE(q.interrupted());
  q.reset();
  EXPECT_FALSE(q.interrupted());
}

TEST(KeyQueue, AnExitWhileTheGameThreadWaitsForAKeyEndsTheProcess) {
  // Another thread ending the process (a library's fatal-error path) must
  // not wait for ever on the game's key wait.
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::thread([] { platform::key_queue().wait_nonempty(); }).detach();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::exit(7);
  }
  int status = 0;
  for (int i = 0; i < 500 && ::waitpid(pid, &status, WNOHANG) == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (::waitpid(pid, &status, WNOHANG) == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    FAIL() << "the process still waits 5 s after exit()";
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
}

TEST(KeyScript, NamesCharactersBytesAndTimes) {
  std::string error;
  const auto keys = parse_key_script("a Ő Enter Esc Up Right F1 CtrlF10 byte:0 Space Hash # comment Down\n@5000 xy",
                                     &error);
  ASSERT_TRUE(keys) << error;
  std::vector<std::vector<std::uint8_t>> bytes;
  for (const auto& k : *keys) bytes.push_back(k.bytes);
  const std::vector<std::vector<std::uint8_t>> expected = {{'a'},    {0x8A}, {13},  {27},  {0, 72}, {0, 77}, {0, 59},
                                                           {0, 103}, {0},    {' '}, {'#'}, {'x'},   {'y'}};
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ((*keys)[11].at_ms, 5000U);
  EXPECT_FALSE((*keys)[12].at_ms.has_value()) << "a time applies to the next key only";

  EXPECT_FALSE(parse_key_script("byte:256", &error));
  EXPECT_NE(error.find("byte:256"), std::string::npos);
  EXPECT_FALSE(parse_key_script("a\nb €", &error));
  EXPECT_EQ(error.rfind("line 2", 0), 0U) << error;
  EXPECT_FALSE(parse_key_script("Enter @12", &error));
  EXPECT_FALSE(parse_key_script("@x Enter", &error));
}

TEST(Headless, KeysTypedDuringADelayComeOutInOrder) {
  reset_state();
  std::string error;
  HeadlessBackend backend(Date{}, *parse_key_script("@1000 a @2000 Up @4999 b @6000 c", &error));
  use_backend(&backend);
  Delay(5000);
  EXPECT_EQ(key_queue().size(), 4);
  EXPECT_EQ(ReadKey(), 'a');
  EXPECT_EQ(ReadKey(), 0);
  EXPECT_EQ(ReadKey(), 72);
  EXPECT_EQ(ReadKey(), 'b');
  EXPECT_EQ(backend.now(), 5000U);
  EXPECT_EQ(ReadKey(), 'c');
  EXPECT_EQ(backend.now(), 6000U) << "the read waited for the key";
  EXPECT_THROW(ReadKey(), SessionEnded);
  use_backend(nullptr);
}

TEST(Headless, ClockDateAndRandomNumbers) {
  reset_state();
  HeadlessBackend backend(Date{2005, 1, 1, weekday_of(2005, 1, 1)});
  use_backend(&backend);
  std::uint16_t y = 0, m = 0, d = 0, w = 9;
  GetDate(y, m, d, w);
  EXPECT_EQ(y, 2005);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(w, 6) << "1 January 2005 was a Saturday";
  EXPECT_EQ(weekday_of(2026, 12, 6), 0) << "a Sunday";

  // Reseeding in the same millisecond repeats the draw; a later one differs.
  Randomize();
  const int first = Random(1000000);
  Randomize();
  EXPECT_EQ(Random(1000000), first);
  Delay(1);
  Randomize();
  EXPECT_NE(Random(1000000), first);

  int seen[5] = {};
  for (int i = 0; i < 5000; ++i) {
    const int r = Random(5);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 5);
    ++seen[r];
  }
  for (const int n : seen) EXPECT_GT(n, 850) << "roughly uniform";
  EXPECT_EQ(Random(1), 0);
  use_backend(nullptr);
}

}  // namespace
