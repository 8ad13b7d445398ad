// SQLite databases: one query over a file opened read-only.
#include <sqlite3.h>

#include "platform/exchange/Exchange_p.h"
#include "platform/rtl/SysUtils.h"

namespace exchange {

using namespace detail;

String QuoteIdentifier(const String& Name) {
  String q = u"\"";
  for (Char c : Name) {
    q += c;
    if (c == u'"') q += c;
  }
  return q + u"\"";
}

TQueryResult QueryDatabase(const String& FileName, const String& SQL, size_t MaxRows) {
  const String what = u"Cannot read database";
  if (!FileExists(FileName)) Fail(what, FileName, "the file does not exist");
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(Utf8(FileName).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  std::unique_ptr<sqlite3, int (*)(sqlite3*)> owner(db, sqlite3_close_v2);
  if (rc != SQLITE_OK) Fail(what, FileName, db ? sqlite3_errmsg(db) : "out of memory");
  sqlite3_busy_timeout(db, 2000);
  std::string sql = Utf8(SQL);
  sqlite3_stmt* st = nullptr;
  const char* tail = nullptr;
  rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st, &tail);
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stOwner(st, sqlite3_finalize);
  if (rc != SQLITE_OK) Fail(what, FileName, sqlite3_errmsg(db));
  if (!st) Fail(what, FileName, "the query is empty");
  // Only one statement: whatever follows it must be blanks or comments.
  if (tail && *tail) {
    sqlite3_stmt* next = nullptr;
    const char* rest = nullptr;
    bool another = sqlite3_prepare_v2(db, tail, -1, &next, &rest) != SQLITE_OK || next != nullptr;
    sqlite3_finalize(next);
    if (another) Fail(what, FileName, "the query holds more than one statement");
  }
  if (!sqlite3_stmt_readonly(st)) Fail(what, FileName, "the query would change the database");
  TQueryResult r;
  const int n = sqlite3_column_count(st);
  for (int i = 0; i < n; ++i) {
    const char* name = sqlite3_column_name(st, i);
    r.Fields.push_back(FromUtf8(name ? name : ""));
  }
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    if (r.Rows.size() >= MaxRows) Fail(what, FileName, "the query gives more rows than the grid holds");
    std::vector<std::optional<String>> row(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      if (sqlite3_column_type(st, i) == SQLITE_NULL) continue;
      const unsigned char* t = sqlite3_column_text(st, i);
      int len = sqlite3_column_bytes(st, i);
      row[static_cast<size_t>(i)] = FromUtf8(std::string_view(reinterpret_cast<const char*>(t ? t : reinterpret_cast<const unsigned char*>("")), static_cast<size_t>(len)));
    }
    r.Rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) Fail(what, FileName, sqlite3_errmsg(db));
  return r;
}

}  // namespace exchange
