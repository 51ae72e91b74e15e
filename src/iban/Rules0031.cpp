#include "iban/RuleGroups.h"

namespace zelvan {

// The rules of this group arrive with their tables; until then its codes have no outcome.
std::span<const RuleDefinition> rules0031To0035() { return {}; }

} // namespace zelvan
