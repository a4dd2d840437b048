// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/settings.hpp"

#include "platform/cp852.hpp"
#include "platform/graph.hpp"

using namespace cp852::literals;  // the _cp literal

namespace shell {

void apply_factory_values(settings::BEALLITASOK& record) {
  for (const settings::NameField& field : settings::kNameFields) {
    (record.*field.member).assign((kFactorySettings.*field.member).view());
  }
  for (const settings::NumberField& field : settings::kNumberFields) {
    settings::set_bits(record, field, settings::bits_of(kFactorySettings, field));
  }
}

void ALAPBEALLIT() {
  apply_factory_values(settings::CONFIG);
  settings::save_config();
  platform::OutTextXY(200, 80, "Beállítások visszaállítva"_cp);
  platform::Delay(2000);
}

}  // namespace shell
