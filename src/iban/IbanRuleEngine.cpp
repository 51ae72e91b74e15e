#include "iban/IbanRuleEngine.h"

#include <algorithm>
#include <vector>

#include "iban/RuleGroups.h"

namespace zelvan {

namespace {

std::vector<RuleDefinition> collectRules()
{
    std::vector<RuleDefinition> all;
    for (const auto group : {rules0000To0029(), rules0030To0049(), rules0031To0035(), rules0050To0057()})
        all.insert(all.end(), group.begin(), group.end());
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.code < b.code; });
    return all;
}

} // namespace

std::span<const RuleDefinition> IbanRuleEngine::rules()
{
    static const std::vector<RuleDefinition> kRules = collectRules();
    return kRules;
}

bool IbanRuleEngine::apply(RuleContext& context)
{
    const auto all = rules();
    const auto& code = context.ruleCode();
    const auto it = std::lower_bound(all.begin(), all.end(), code,
                                     [](const RuleDefinition& rule, std::string_view key) { return rule.code < key; });
    if (it == all.end() || it->code != code)
        return false;
    it->apply(context);
    return true;
}

} // namespace zelvan
