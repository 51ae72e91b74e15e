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

// Argument 1: with "Kontonummern mit Prüfziffer prüfen". Only rule-000000 banks, whose rows cost
// little else, so this shows the check's own cost; random accounts mostly fail their check. The
// target for the whole command is in iban_input_bench.
void BM_ConvertWithCheckDigits(benchmark::State& state)
{
    const auto directory = benchmarkDirectory();
    auto rows = standardRuleRows(directory, 100000);
    const AccountCheckDigits checker;
    ConversionOptions options;
    if (state.range(0) != 0)
        options.checkDigits = &checker;
    for (auto _ : state) {
        for (auto& row : rows)
            convertRow(row, directory, options);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
}
BENCHMARK(BM_ConvertWithCheckDigits)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Rows spread over every bank of the bundled sample file, which has a bank for every rule code,
// with accounts of 1 to 10 digits.
void BM_ConvertMixedRuleRows(benchmark::State& state)
{
    BankDirectory directory;
    loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", directory);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pickBank(1, directory.Count());
    std::uniform_int_distribution<int> pickLength(1, 10);
    std::uniform_int_distribution<int> pickDigit(0, 9);
    WorkingSetArray rows(100000);
    for (auto& row : rows) {
        row[AccountColumn::Blz] = directory.Field(pickBank(random), 0);
        std::string account(static_cast<std::size_t>(pickLength(random)), '0');
        for (auto& digit : account)
            digit = static_cast<char>('0' + pickDigit(random));
        account[0] = static_cast<char>('1' + pickDigit(random) % 9);
        row[AccountColumn::Account] = account;
    }
    const ConversionOptions options{ClientFormat::MarloOp, false};
    for (auto _ : state) {
        for (auto& row : rows)
            convertRow(row, directory, options);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
}
BENCHMARK(BM_ConvertMixedRuleRows)->Unit(benchmark::kMillisecond);

} // namespace
