#pragma once

#include <string>

#include "search/DriveSearch.h"

namespace zelvan::test {

// While the guard lives, the search cannot open one folder and meets `errorNumber` instead, for
// root as for anyone else (root reads a folder whatever its permission bits).
class RefusedFolder {
public:
    RefusedFolder(std::string path, int errorNumber)
    {
        setFolderOpenRefusal([path = std::move(path), errorNumber](const std::string& folder) {
            return folder == path ? errorNumber : 0;
        });
    }
    ~RefusedFolder() { setFolderOpenRefusal({}); }
    RefusedFolder(const RefusedFolder&) = delete;
    RefusedFolder& operator=(const RefusedFolder&) = delete;
};

} // namespace zelvan::test
