#pragma once

#include <string>
#include <vector>

namespace zelvan {

// One entry of the drive list: the text shown ("/ [system]") and the folder a search starts at.
struct Drive {
    std::string text;
    std::string root;
    // A mounted volume is searched on its own file system only; a folder also below its mounts.
    bool volume = false;
};

// The mounted volumes of the machine, by root path.
std::vector<Drive> mountedDrives();

// The user's home folder as an entry of the drive list: "/home/anna [Persönlicher Ordner]".
Drive homeFolder();

// What the drive list offers: the home folder, then the mounted volumes.
std::vector<Drive> searchPlaces();

// The entry that holds `folder` (the deepest root that contains it); 0 when none does.
std::size_t driveIndexFor(const std::vector<Drive>& drives, const std::string& folder);

} // namespace zelvan
