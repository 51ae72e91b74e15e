#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <benchmark/benchmark.h>

#include "search/DriveSearch.h"
#include "support/TempDir.h"

namespace {

using namespace zelvan;

// 1,000 folders in two levels with 100 files each; one file in 50 is a client database.
const test::TempDir& tree()
{
    static const test::TempDir made;
    static const bool filled = [] {
        for (int top = 0; top < 20; ++top) {
            for (int sub = 0; sub < 50; ++sub) {
                const auto folder = made.path() / ("Ordner" + std::to_string(top)) / ("Mandanten" + std::to_string(sub));
                std::filesystem::create_directories(folder);
                for (int file = 0; file < 100; ++file) {
                    const auto name = file % 50 == 0 ? "MARL" + std::to_string(100 + file) + ".MDB"
                                                     : "beleg" + std::to_string(file) + ".txt";
                    std::ofstream(folder / name) << 'x';
                }
            }
        }
        return true;
    }();
    benchmark::DoNotOptimize(filled);
    return made;
}

void BM_DriveSearch100000Files(benchmark::State& state)
{
    const auto root = tree().path().string();
    SilentUserInterface ui;
    for (auto _ : state) {
        DriveSearch search(ClientFormat::MarloOp, nullptr, ui);
        benchmark::DoNotOptimize(search.run(root));
    }
}
BENCHMARK(BM_DriveSearch100000Files)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same tree walked by find(1), for comparison.
void BM_FindCommand100000Files(benchmark::State& state)
{
    const auto command = "find " + tree().path().string() + " -iname 'marl*.mdb' > /dev/null";
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
}
BENCHMARK(BM_FindCommand100000Files)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
