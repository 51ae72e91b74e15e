#include <filesystem>

#include <benchmark/benchmark.h>

#include "bankdir/BankCodeFile.h"
#include "support/BankFileBuilder.h"
#include "support/TempDir.h"

namespace {

using namespace zelvan;

// A file of 20,000 lines: 16,000 bank lines and 4,000 branch lines.
void BM_LoadGeneratedFile20000Lines(benchmark::State& state)
{
    test::TempDir dir;
    const auto path = dir.write("blz.txt", test::generatedBankFile(16000));
    for (auto _ : state) {
        BankDirectory directory;
        loadBankCodeFile(path, directory);
        benchmark::DoNotOptimize(directory.Count());
    }
}
BENCHMARK(BM_LoadGeneratedFile20000Lines)->Unit(benchmark::kMillisecond);

void BM_LoadRealFile(benchmark::State& state)
{
    if (!std::filesystem::exists(ZELVAN_SHARED_BANKFILE)) {
        state.SkipWithError("no shared bank-code file");
        return;
    }
    for (auto _ : state) {
        BankDirectory directory;
        loadBankCodeFile(ZELVAN_SHARED_BANKFILE, directory);
        benchmark::DoNotOptimize(directory.Count());
    }
}
BENCHMARK(BM_LoadRealFile)->Unit(benchmark::kMillisecond);

} // namespace
