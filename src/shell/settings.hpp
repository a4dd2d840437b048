// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shell's side of the settings: the factory values and the reset. The
// record BEALLITASOK, CONFIG and Data\Config.cfg are platform/settings.hpp's.

#include "platform/cp852.hpp"
#include "platform/settings.hpp"

namespace shell {

namespace detail {
constexpr platform::ShortString<25> factory_name(std::string_view text) {
  platform::ShortString<25> name;
  name.assign(text);
  return name;
}
}  // namespace detail

// The factory value of every field: what the reset writes and what a new
// player's folder starts with.
inline constexpr settings::BEALLITASOK kFactorySettings = [] {
  using namespace cp852::literals;
  return settings::BEALLITASOK{
      .NEV = detail::factory_name("ZorvinSoft"),
      .MUSORVEZETO = detail::factory_name("Ravasz Ödön"_cp),
      .MUSORVEZETO_EGYEB = 1,
      .MINILOGO = 1,
      .ZORVINLOGO = 1,
      .DATUM = 1,
      .MADE_IN_HUNGARY = 0,
      .JATEKMOD = 1,
      .KERDESEK = 1,
      .HANGOK = 1,
      .VARAKOZAS = 0,
      .KERETSZIN = 9,
      .JELOLOSZIN = 14,
      .VILLOGOSZIN = 2,
  };
}();

// The factory values, applied onto `record` as the reset does (name bytes
// beyond the new lengths stay as they were).
void apply_factory_values(settings::BEALLITASOK& record);

// The reset: factory values, written, confirmed on screen for 2 000 ms.
void ALAPBEALLIT();

}  // namespace shell
