#include "platform/data/DBErrors.h"

#include <firebird/Interface.h>

#include <algorithm>

namespace {

// Errors of the database or the connection. Kept short on purpose: every other error, whatever it
// is, stays an error of the statement, as callers have always taken it.
constexpr long DatabaseFailureCodes[] = {
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
};

}  // namespace

bool EDBEngineError::IsDatabaseFailure() const {
  return std::any_of(FErrorCodes.begin(), FErrorCodes.end(), [](long code) {
    return std::find(std::begin(DatabaseFailureCodes), std::end(DatabaseFailureCodes), code) !=
           std::end(DatabaseFailureCodes);
  });
}

bool EDBEngineError::IsDuplicateKey() const {
  // The constraint's own code, and the unique index's where no constraint stands behind it.
  return std::any_of(FErrorCodes.begin(), FErrorCodes.end(),
                     [](long code) { return code == isc_unique_key_violation || code == isc_no_dup; });
}
