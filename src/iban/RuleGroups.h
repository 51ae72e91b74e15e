#pragma once

#include <span>

#include "iban/IbanRuleEngine.h"

namespace zelvan {

// The rules of each group, each defined beside its constant tables.
std::span<const RuleDefinition> rules0000To0029();
std::span<const RuleDefinition> rules0030To0049();
std::span<const RuleDefinition> rules0031To0035();
std::span<const RuleDefinition> rules0050To0057();

} // namespace zelvan
