// SPDX-License-Identifier: GPL-3.0-or-later
// A question bank file from any bytes: decoding, finding the questions that
// can be asked, and writing the bank out as a source and reading it back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "game/questions.hpp"
#include "questions/source.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Short inputs are spread over the bank so that small mutations reach every record.
  std::vector<std::uint8_t> bytes(game::kBankSize, 0);
  for (std::size_t i = 0; i < size && i < bytes.size(); ++i) bytes[i] = data[i];
  const auto bank = game::decode_bank(std::span<const std::uint8_t, game::kBankSize>(bytes.data(), bytes.size()));
  for (const int index : game::drawable_questions(bank)) {
    if (index < 1 || index > 100 ||
        game::answer_letter(bank[static_cast<std::size_t>(index - 1)].JOVALASZ.view()) == 0) {
      std::abort();
    }
  }
  std::vector<questions::Diagnostic> problems;
  const std::string source = questions::dump(bank, &problems);
  (void)questions::compile(source);
  if (game::encode_bank(game::decode_bank(std::span<const std::uint8_t, game::kBankSize>(
          game::encode_bank(bank).data(), game::kBankSize))) != game::encode_bank(bank)) {
    std::abort();
  }
  return 0;
}
