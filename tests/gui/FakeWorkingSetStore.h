#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/DatabaseChooser.h"
#include "app/WorkingSetStore.h"

namespace zelvan::test {

// The first `count` columns of a Marlo grid; the bank columns, with their lengths, take input when freed.
inline std::vector<GridColumn> marloColumns(bool freed, std::size_t count = 8)
{
    static constexpr std::pair<const char*, int> kColumns[] = {{"OPKontoNr", 0},
                                                               {"Suchname", 0},
                                                               {"BankBLZ", 8},
                                                               {"BankKontoNr", 10},
                                                               {"BankBIC", 11},
                                                               {"BankIBAN", 34},
                                                               {"IBANKonvertierHinweis", 0},
                                                               {"BankName", 0}};
    std::vector<GridColumn> columns;
    for (std::size_t i = 0; i < count; ++i)
        columns.push_back({kColumns[i].first, freed && kColumns[i].second > 0, kColumns[i].second});
    return columns;
}

// A store that serves a fixed working set of a few Marlo rows for any file that exists, and
// records every call.
class FakeWorkingSetStore final : public WorkingSetStore {
public:
    LoadResult LoadWorkingSet(ProgramState& state, WorkingSetArray& rows, const LoadRequest& request,
                              UserInterface& ui) override
    {
        calls.push_back("load hide=" + std::to_string(request.hideRowsWithIban) +
                        " free=" + std::to_string(request.freeManualInput) +
                        " festabzug=" + std::to_string(state.fixedDeductions));
        ui.setStatusText("Daten werden eingelesen...");
        rows.clear();
        // As the real store: no file, no database loaded.
        if (state.databasePath.empty() || !std::filesystem::exists(state.databasePath))
            return LoadResult{0, "Anzahl Datensätze: 0", {}, false, true, true, false};
        for (const auto& sample : samples) {
            AccountRow row;
            for (std::size_t i = 0; i < sample.size() && i < kAccountColumnCount; ++i)
                row.cells[i] = sample[i];
            rows.push_back(row);
        }
        if (onLoad)
            onLoad();
        return LoadResult{8,
                          "Anzahl Datensätze: " + std::to_string(rows.size()),
                          marloColumns(request.freeManualInput > 0),
                          true,
                          state.format != ClientFormat::Galdo,
                          state.format != ClientFormat::Galdo,
                          false};
    }

    std::vector<GridColumn> BindGridColumns(int freeManualInput) override
    {
        calls.push_back("bind free=" + std::to_string(freeManualInput));
        return marloColumns(freeManualInput > 0);
    }

    bool SaveWorkingSet(ProgramState&, WorkingSetArray& rows, const SaveRequest& request, UserInterface&) override
    {
        calls.push_back("save protocol=" + std::to_string(static_cast<int>(request.protocol)) +
                        (request.overwriteBankName ? " bankname" : ""));
        saved = rows;
        return saveSucceeds;
    }

    void CloseClientDatabase(ProgramState&, UserInterface&) override { calls.push_back("close"); }

    std::vector<std::vector<std::string>> samples{
        {"10000", "Müller", "37040044", "532013000", "", "", "", ""},
        {"10001", "Schmidt", "", "", "", "", "", ""},
        {"10002", "Weber", "12345678", "1234", "", "", "", ""},
    };
    std::vector<std::string> calls;
    // Runs at the end of every load of rows.
    std::function<void()> onLoad;
    bool saveSucceeds = true;
    WorkingSetArray saved;
};

// A selection dialog that answers from a script and records what it was started with.
class FakeDatabaseChooser final : public DatabaseChooser {
public:
    std::optional<DatabaseChoice> choose(QWidget*, const SelectionStart& start, UserInterface&) override
    {
        starts.push_back(start);
        return next;
    }

    std::optional<DatabaseChoice> next;
    std::vector<SelectionStart> starts;
};

} // namespace zelvan::test
