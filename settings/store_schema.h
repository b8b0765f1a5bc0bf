// The tables of the settings store and the checks made when a store file is
// opened.
//
// settings_keys:   one row per key: id, parent id (0 for the top level),
//                  name as first written, folded name (see FoldName).
// settings_values: one row per value: key id, name as first written,
//                  folded name, registry type code, bytes.
#ifndef VOCOR_SETTINGS_STORE_SCHEMA_H_
#define VOCOR_SETTINGS_STORE_SCHEMA_H_

namespace vocor {

class Connection;

// How long a call waits for another connection's write lock before it
// fails. Long enough that two processes saving settings at once both
// succeed; short enough that a hung process does not freeze the caller.
constexpr int kBusyTimeoutMs = 5000;

// Readies a freshly opened connection: busy timeout, WAL journal (readers
// and one writer proceed together; a killed writer leaves the file intact),
// the tables when missing, then an integrity check and a check that the
// tables have the columns this code uses. The journal mode and the tables
// are changed only when they are not as needed, so that opening an
// existing store only reads and never waits for another process's writer.
// A `read_only` connection changes nothing, and fails on a file without
// the tables. Returns false when the store is unusable;
// connection->damaged() then tells whether the file itself is at fault
// (damaged, not a database, or tables of another layout) as opposed to a
// passing condition such as a lock held too long.
bool ReadyStore(Connection* connection, bool read_only);

}  // namespace vocor

#endif  // VOCOR_SETTINGS_STORE_SCHEMA_H_
