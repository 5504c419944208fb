// Word search steps; see search.h.
#include "core/data/search.h"

#include "core/data/search_sql.h"

namespace sapala::data {

void RunSearch(Query& query, const std::string& sql, const FieldText& field_text) {
  query.SetSql(sql);
  // Counting waits until the field has been read: an empty field closes the query at once.
  query.Open(Query::Count::kLater);
  if (field_text().empty()) {
    query.ClearSql();
    return;
  }
  try {
    query.RecordCount();
  } catch (...) {
    query.Close();
    throw;
  }
}

void SubstringSearch(Query& query, const FieldText& field_text) {
  query.ClearSql();
  RunSearch(query, SubstringSearchSql(field_text()), field_text);
}

void PrefixSearch(Query& query, const FieldText& field_text) {
  RunSearch(query, PrefixSearchSql(field_text()), field_text);
}

}  // namespace sapala::data
