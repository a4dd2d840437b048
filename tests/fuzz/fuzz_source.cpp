// The question-set tool's source parser from any text: it never crashes, and
// whatever it accepts dumps back to a source that compiles to the same bank.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "questions/source.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto compiled = questions::compile(text);
  if (!compiled.ok()) return 0;
  const auto again = questions::compile(questions::dump(compiled.bank));
  if (!again.ok() || game::encode_bank(again.bank) != game::encode_bank(compiled.bank)) std::abort();
  return 0;
}
