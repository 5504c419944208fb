// Word search steps; see search.h.
#include "core/data/search.h"

#include "core/data/search_sql.h"

namespace sapala::data {

void RunSearch(Query& query, const std::string& sql, const FieldText& field_text) {
  query.SetSql(sql);
  query.Open();
  if (field_text().empty()) query.ClearSql();
}

void SubstringSearch(Query& query, const FieldText& field_text) {
  query.ClearSql();
  RunSearch(query, SubstringSearchSql(field_text()), field_text);
}

void PrefixSearch(Query& query, const FieldText& field_text) {
  RunSearch(query, PrefixSearchSql(field_text()), field_text);
}

}  // namespace sapala::data
