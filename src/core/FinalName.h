#pragma once

#include <string>

namespace zelvan {

// The ways of giving a finished file its name without replacing a file of that name, in the
// order they are tried: file systems such as NFS and FAT refuse the first, FAT also the second.
enum class FinalNameStep {
    RenameNoReplace, // renameat2 with RENAME_NOREPLACE: one atomic step
    LinkThenUnlink,  // a second name by link, then the first one goes
    CheckedRename,   // lstat finds the name free, then rename (a small window remains)
};

// Moves `from` to `to` unless `to` exists, starting with `first` and falling back to the next
// step where the file system does not offer one. Returns 0, or the errno: EEXIST when `to` exists;
// `from` is then left as it was.
int moveWithoutReplacing(const std::string& from, const std::string& to,
                         FinalNameStep first = FinalNameStep::RenameNoReplace);

} // namespace zelvan
