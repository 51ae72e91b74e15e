// The whole job on a Marlo database of 100,000 rows: load, convert, save in one transaction.
#include <benchmark/benchmark.h>

#include "DemoDatabases.h"
#include "bankdir/BankCodeFile.h"
#include "clientdb/WorkingSetLoader.h"
#include "clientdb/WorkingSetSaver.h"
#include "iban/ConversionRun.h"
#include "support/TempDir.h"

namespace {

using namespace zelvan;

void BM_LoadConvertSave100000MarloRows(benchmark::State& benchState)
{
    const test::TempDir dir;
    const auto path = dir.path() / "MARL001.MDB";
    if (const auto error = demo::writeMarloDatabase(path, {demo::IbanFields::None, 100000 - 9}); !error.empty()) {
        benchState.SkipWithError(error.c_str());
        return;
    }
    BankDirectory directory;
    loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", directory);
    SilentUserInterface ui;

    for (auto _ : benchState) {
        ProgramState state;
        state.format = ClientFormat::MarloOp;
        state.databasePath = path.string();
        WorkingSetArray rows;
        Recordset recordset;
        LoadWorkingSet(state, rows, recordset, {}, ui);
        runConversion(rows, directory, {state.format, false}, ui);
        SaveReport report;
        const auto saved =
            SaveWorkingSet(state, rows, {ProtocolOption::HintsOnly, false, dir.path().string()}, report, ui);
        if (!saved.committed || rows.size() != 100000) {
            benchState.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_LoadConvertSave100000MarloRows)->Unit(benchmark::kMillisecond)->UseRealTime();

// The save alone on a converted Marlo working set of 100,000 or 200,000 rows, without protocol:
// seek, compare and write every record in one transaction.
void BM_SaveMarloRows(benchmark::State& benchState)
{
    const auto count = static_cast<std::size_t>(benchState.range(0));
    const test::TempDir dir;
    const auto path = dir.path() / "MARL001.MDB";
    if (const auto error = demo::writeMarloDatabase(path, {demo::IbanFields::None, static_cast<int>(count) - 9});
        !error.empty()) {
        benchState.SkipWithError(error.c_str());
        return;
    }
    BankDirectory directory;
    loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", directory);
    SilentUserInterface ui;
    ProgramState state;
    state.format = ClientFormat::MarloOp;
    state.databasePath = path.string();
    WorkingSetArray rows;
    Recordset recordset;
    LoadWorkingSet(state, rows, recordset, {}, ui);
    runConversion(rows, directory, {state.format, false}, ui);

    for (auto _ : benchState) {
        SaveReport report;
        const auto saved = SaveWorkingSet(state, rows, {ProtocolOption::Off, false, dir.path().string()}, report, ui);
        if (!saved.committed || saved.rowsNotSaved != 0 || rows.size() != count) {
            benchState.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveMarloRows)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
