#pragma once

#include <span>
#include <string_view>

#include "iban/RuleContext.h"

namespace zelvan {

using RuleFunction = void (*)(RuleContext&);

// One implemented rule code and what it does.
struct RuleDefinition {
    std::string_view code;
    RuleFunction apply;
};

// Applies the Bundesbank IBAN rule selected by the whole six-character rule code.
class IbanRuleEngine {
public:
    // False when no rule is implemented for the code: the row then ends with no outcome.
    static bool apply(RuleContext& context);
    // Every implemented code, ascending.
    static std::span<const RuleDefinition> rules();
};

} // namespace zelvan
