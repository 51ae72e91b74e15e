#include <filesystem>
#include <random>

#include <benchmark/benchmark.h>

#include "bankdir/BankCodeFile.h"
#include "iban/ConversionRun.h"
#include "support/BankFileBuilder.h"
#include "support/TempDir.h"

namespace {

using namespace zelvan;

// Rule-000000 rows over the real directory when it is there, else over a generated one.
BankDirectory benchmarkDirectory()
{
    BankDirectory directory;
    if (std::filesystem::exists(ZELVAN_SHARED_BANKFILE)) {
        loadBankCodeFile(ZELVAN_SHARED_BANKFILE, directory);
    } else {
        test::TempDir dir;
        loadBankCodeFile(dir.write("blz.txt", test::generatedBankFile(4000)), directory);
    }
    return directory;
}

WorkingSetArray standardRuleRows(const BankDirectory& directory, std::size_t count)
{
    std::vector<std::string> blzs;
    for (int row = 1; row <= directory.Count(); ++row) {
        if (directory.Field(row, 5) == "000000" && directory.Field(row, 6) != "D")
            blzs.push_back(directory.Field(row, 0));
    }
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> pickBank(0, blzs.size() - 1);
    std::uniform_int_distribution<long long> pickAccount(1, 9999999999LL);
    WorkingSetArray rows(count);
    for (auto& row : rows) {
        row[AccountColumn::Blz] = blzs[pickBank(random)];
        row[AccountColumn::Account] = std::to_string(pickAccount(random));
    }
    return rows;
}

// Argument 1: with "Bank Name überschreiben", which copies each bank's short name.
void BM_ConvertStandardRuleRows(benchmark::State& state)
{
    const auto directory = benchmarkDirectory();
    auto rows = standardRuleRows(directory, 100000);
    const ConversionOptions options{ClientFormat::MarloOp, state.range(0) != 0};
    for (auto _ : state) {
        for (auto& row : rows)
            convertRow(row, directory, options);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
}
BENCHMARK(BM_ConvertStandardRuleRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
