#pragma once

#include <string>

namespace zelvan {

// The SQLite URI that opens the database at `path` only to read it, so that no file of it or
// beside it is created, changed or removed: a WAL database that a program holds open (its -shm is
// there) is read through a read-only -shm, which still gives the changes not yet merged into the
// file; a WAL database no one holds is read as an unchangeable file, which creates no -wal or
// -shm; any other database read-only, which never plays back a journal left by another program.
// A -wal with changes but without its -shm cannot be read this way: opening it then fails.
std::string untouchedReadUri(const std::string& path);

// The SQLite URI that opens a file no program writes (a backup copy) as it lies: read-only and
// unchangeable, so that no lock is taken and nothing is created beside it, whatever mode its
// header names.
std::string unchangingReadUri(const std::string& path);

// Whether a program stopped in the middle of a change of the database and left its journal: the
// next connection that may write plays the journal back. Only looks, through SQLite's own test.
bool hasInterruptedChange(const std::string& path);

} // namespace zelvan
