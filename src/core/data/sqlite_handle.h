// Owners of SQLite handles, counted in the handle census like every other handle kind (a
// per-test leak check sees a connection or statement left open). The release calls live here
// and nowhere else.
#pragma once

#include <sqlite3.h>

#include "core/base/unique_handle.h"

namespace sapala::data {

namespace detail {
inline void CloseDatabase(sqlite3* db) noexcept { sqlite3_close_v2(db); }
inline void FinalizeStatement(sqlite3_stmt* st) noexcept { sqlite3_finalize(st); }
}  // namespace detail

using SqliteDb = UniqueHandle<sqlite3*, &detail::CloseDatabase, HandleKind::Database>;
using SqliteStatement =
    UniqueHandle<sqlite3_stmt*, &detail::FinalizeStatement, HandleKind::Statement>;

}  // namespace sapala::data
