#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/WorkingSet.h"

namespace zelvan {

// One entry of a file-open dialog's type list.
struct FileFilter {
    std::string_view description;
    std::string_view pattern;
};

// How the databases of one format are found and chosen.
struct ClientFileKind {
    ClientFormat format;
    std::string_view searchPattern;
    std::string_view prefix; // empty for Tondra, which is found by name and tables
    std::string_view openDialogTitle;
    std::span<const FileFilter> filters;
};

// The kind of a format 1 to 4; nothing for any other value.
std::optional<ClientFileKind> clientFileKind(ClientFormat format);

} // namespace zelvan
