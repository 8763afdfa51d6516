#include "platform/data/DBErrors.h"

#include <firebird/Interface.h>

#include <algorithm>

namespace {

// The errors that are not the row's. Kept short on purpose: every other error, whatever it is,
// stays a refusal of the statement, as callers have always taken it.
constexpr long NotTheRowCodes[] = {
    // The database or the connection.
    isc_io_error,            // a read or write of the database file failed: a full disk, a file that
                             // cannot be extended, a failing device
    isc_shutdown,            // the database is shut down
    isc_shutinprog,          // ... or being shut down
    isc_att_shutdown,        // the connection was shut down
    isc_network_error,       // the server cannot be reached
    isc_net_read_err,        // the connection broke while reading ...
    isc_net_write_err,       // ... or writing
    isc_lost_db_connection,  // the connection to the database was lost
    isc_conn_lost,           // ... where it ran over a local pipe
    isc_bad_db_handle,       // the connection is no longer there
    isc_read_only_database,  // nothing can be written to the database at all
    isc_bug_check,           // the server found itself inconsistent
    isc_db_corrupt,          // the database file is corrupt
    // Another transaction. A row that another transaction changed fails with isc_deadlock and
    // isc_update_conflict, whether its lock was not released in time, that transaction committed
    // while the statement waited, or the two waited for each other; a table that another
    // transaction reserved fails with isc_lock_timeout, or isc_lock_conflict where nothing waits.
    isc_deadlock,
    isc_update_conflict,
    isc_lock_timeout,
    isc_lock_conflict,
};

}  // namespace

bool EDBEngineError::IsRowRefusal() const {
  return std::none_of(FErrorCodes.begin(), FErrorCodes.end(), [](long code) {
    return std::find(std::begin(NotTheRowCodes), std::end(NotTheRowCodes), code) != std::end(NotTheRowCodes);
  });
}

bool EDBEngineError::IsDuplicateKey() const {
  // The constraint's own code, and the unique index's where no constraint stands behind it.
  return std::any_of(FErrorCodes.begin(), FErrorCodes.end(),
                     [](long code) { return code == isc_unique_key_violation || code == isc_no_dup; });
}
