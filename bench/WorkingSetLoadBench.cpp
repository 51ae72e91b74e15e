// Loading a Marlo database of 100,000 convertible rows into the working set: open, schema
// check, statement, copy into the array.
#include <benchmark/benchmark.h>

#include "DemoDatabases.h"
#include "clientdb/WorkingSetLoader.h"
#include "support/TempDir.h"

namespace {

// The sample rows of the generator bring 9 convertible rows of their own.
constexpr int kRows = 100000;
constexpr int kSampleRows = 9;

void loadMarloWorkingSet(benchmark::State& benchState)
{
    const zelvan::test::TempDir dir;
    const auto path = dir.path() / "MARL001.MDB";
    const auto error = zelvan::demo::writeMarloDatabase(
        path, {.ibanFields = zelvan::demo::IbanFields::None, .generatedRows = kRows - kSampleRows});
    if (!error.empty()) {
        benchState.SkipWithError(error.c_str());
        return;
    }
    zelvan::ProgramState state;
    state.format = zelvan::ClientFormat::MarloOp;
    state.databasePath = path.string();
    zelvan::SilentUserInterface ui;
    zelvan::WorkingSetArray rows;
    zelvan::Recordset recordset;

    for (auto _ : benchState) {
        const auto outcome = zelvan::LoadWorkingSet(state, rows, recordset, {}, ui);
        benchmark::DoNotOptimize(outcome);
        if (rows.size() != static_cast<std::size_t>(kRows)) {
            benchState.SkipWithError("wrong row count");
            break;
        }
    }
    benchState.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(loadMarloWorkingSet)->Unit(benchmark::kMillisecond);

} // namespace
