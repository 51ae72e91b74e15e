#include <filesystem>
#include <random>
#include <sstream>

#include <benchmark/benchmark.h>

#include "bankdir/BankCodeFile.h"
#include "cli/IbanCommand.h"
#include "iban/AccountCheckDigits.h"

namespace {

using namespace zelvan;

// The input of the iban command as bench/speed.sh makes it: BLZs of every bank of the real file
// (the sample file without it), accounts of 1 to 10 digits.
std::string ibanInput(const BankDirectory& directory, std::size_t rows)
{
    std::mt19937 random(20201207);
    std::uniform_int_distribution<int> pickBank(1, directory.Count());
    std::uniform_int_distribution<int> pickLength(1, 10);
    std::uniform_int_distribution<int> pickDigit(0, 9);
    std::string input;
    for (std::size_t i = 0; i < rows; ++i) {
        input += directory.Field(pickBank(random), 0);
        input += ';';
        input += static_cast<char>('1' + pickDigit(random) % 9);
        for (int length = pickLength(random); length > 1; --length)
            input += static_cast<char>('0' + pickDigit(random));
        input += '\n';
    }
    return input;
}

// The whole iban command on 100,000 rows, reading, converting and writing. Argument 1: with
// --pruefziffer, whose target is at most 1.3 times argument 0.
void BM_IbanInput(benchmark::State& state)
{
    BankDirectory directory;
    const bool real = std::filesystem::exists(ZELVAN_SHARED_BANKFILE);
    loadBankCodeFile(real ? ZELVAN_SHARED_BANKFILE : ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", directory);
    const std::string input = ibanInput(directory, 100000);
    const AccountCheckDigits checker;
    ConversionOptions options;
    if (state.range(0) != 0)
        options.checkDigits = &checker;
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out;
        convertIbanInput(in, directory, options, out);
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_IbanInput)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
