// The word search's steps on the data layer, as the main window runs them; the window side
// supplies the search field's text (already UTF-8) through `field_text`, which is read again
// where the steps say so. Errors of the data layer propagate as DataError: the caller shows
// them, and the query is left closed, ready for the next key.
#pragma once

#include <functional>
#include <string>

#include "core/data/query.h"

namespace sapala::data {

using FieldText = std::function<std::string()>;

// Run search: (1) replace the query's SQL with `sql`; (2) open it; (3) read the field again
// and, if it is now empty, clear the SQL, which closes the query. So an empty field runs the
// query once and leaves the list empty.
void RunSearch(Query& query, const std::string& sql, const FieldText& field_text);

// Substring search: clear the query's SQL (closing it), read T, run search with the
// substring SQL for T.
void SubstringSearch(Query& query, const FieldText& field_text);

// Prefix search: read T, run search with the prefix SQL for T (replacing the SQL closes the
// query anyway; it is not cleared first).
void PrefixSearch(Query& query, const FieldText& field_text);

}  // namespace sapala::data
