// The temporary work tables of the reports: private to the connection, dropped and made
// anew by every run, read back in the order their rows were written.
#pragma once

#include <QString>

class Query;

// Drops `table` (a failure to drop is no matter) and creates it with `createStatement`.
void recreateWorkTable(Query& query, const QString& table, const QString& createStatement);
// Opens every row of `table` on `query`, in the order the rows were written.
void openWorkRows(Query& query, const QString& table);
