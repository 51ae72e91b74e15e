#include "iban/RuleGroups.h"

namespace zelvan {

// The rules of this group arrive with their tables; until then its codes have no outcome.
std::span<const RuleDefinition> rules0050To0057() { return {}; }

} // namespace zelvan
