// One station table as the demo generator fills it: declared to the sink once, then written
// row by row from one reused field list, so that a row costs no list of its own.
#pragma once

#include "db/row_sink.h"

#include <QStringList>

class DemoTable {
public:
    // Declares `name` with `columns` to `sink`; every written row adds one to `rowCount`.
    DemoTable(RowSink& sink, const QString& name, const QStringList& columns, qint64& rowCount)
        : sink_(sink), handle_(sink.declare(name, columns)), fields_(columns.size()),
          rowCount_(rowCount) {}

    // The field of `column` (its index in the declared columns) in the row being built.
    QString& operator[](int column) { return fields_[column]; }
    // Hands the row to the sink; the fields keep their values for the next row.
    void write() {
        sink_.row(handle_, fields_);
        ++rowCount_;
    }

private:
    RowSink& sink_;
    int handle_;
    QStringList fields_;
    qint64& rowCount_;
};
