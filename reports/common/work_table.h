// The temporary work tables of the reports: private to the connection, dropped and made
// anew by every run, read back in the order their rows were written.
#pragma once

#include <QString>

class Query;
class TextCodec;

// Drops `table` (a failure to drop is no matter) and creates it with `createStatement`.
void recreateWorkTable(Query& query, const QString& table, const QString& createStatement);
// Opens every row of `table` on `query` in the order the build wrote them: by `orderBy`, the
// work table's columns that repeat the ORDER BY the rows were written with (empty when they
// were written in no order), the row's place on disk deciding only among equal keys. The
// place alone is no order: PostgreSQL puts a short row into free space left on an earlier page.
void openWorkRows(Query& query, const QString& table, const QString& orderBy);

// `text` cut to fit a work table's text column of `width` (varchar(width)): at the last whole
// character whose bytes fit on the station's SQL_ASCII database, where a Chinese character
// takes two bytes, never half a Big5 character; at `width` characters on a UTF-8 database.
// A text that fits comes back unchanged; characters the codec cannot hold count as one byte.
QString fitToColumn(const QString& text, int width, const TextCodec& codec);
