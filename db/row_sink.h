// Receiver of generated table rows: the bulk loader that copies them into the database,
// or an in-memory collector in tests.
#pragma once

#include <QString>
#include <QStringList>

class RowSink {
public:
    virtual ~RowSink() = default;

    // Announces a table and the order of the fields of its rows. Returns the handle that
    // row() takes. Called once per table before its first row.
    virtual int declare(const QString& table, const QStringList& columns) = 0;
    // One row of a declared table, fields in the declared order, as the text the database
    // reads for them ("12.50", "2024-05-07 08:30:00"); a null QString() is SQL NULL.
    virtual void row(int table, const QStringList& fields) = 0;
    // No more rows: writes whatever is still held. Throws DbError when the load fails.
    virtual void finish() = 0;
};
