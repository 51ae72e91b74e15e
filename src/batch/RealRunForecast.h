#pragma once

#include <string>

namespace zelvan {

// Why the real run would stop before its first change of the database at `path`, in the words it
// would use; empty when nothing stands in its way. With `backups` the real run first copies the
// file into Sicherung_ZELVAN beside it: that folder must be there or be creatable, take new files
// and have room for the copy. Then the folder of the database must take the journal of the write.
// Only looks: nothing is created.
std::string foretellRealRun(const std::string& path, bool backups);

} // namespace zelvan
