// SPDX-License-Identifier: GPL-3.0-or-later
// The question-set tool's source parser from any text: it never crashes, and
// whatever it accepts dumps back to a source that compiles to the same bank,
// with nothing the dump cannot express, and that dumps to itself again.
// Checking it against other sources (repeats, the difficulty of a graded
// series) never crashes either.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "questions/difficulty.hpp"
#include "questions/source.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto compiled = questions::compile(text);
  for (const auto& d : compiled.diagnostics) {
    if (!d.error) continue;
    if (d.line < 0 || d.column < 0 || d.message.empty()) std::abort();
    (void)questions::format("x", d);
  }
  const auto half = questions::compile(text.substr(0, size / 2));
  (void)questions::repeats_across({{"a", &compiled}, {"b", &half}});
  (void)questions::spread_line("a", questions::spread(compiled));
  (void)questions::series_warnings({{"01", &compiled}, {"02", &half}}, {1, 2});
  if (!compiled.ok()) return 0;
  std::vector<questions::Diagnostic> problems;
  const std::string source = questions::dump(compiled.bank, &problems);
  if (!problems.empty()) std::abort();
  const auto again = questions::compile(source);
  if (!again.ok() || game::encode_bank(again.bank) != game::encode_bank(compiled.bank)) std::abort();
  if (questions::dump(again.bank) != source) std::abort();
  return 0;
}
