// Bulk loading of generated rows with COPY: rows are held per table and sent in large
// batches, so a year of a station costs a few hundred round trips, not millions.
#pragma once

#include "db/row_sink.h"

#include <QByteArray>
#include <vector>

class Connection;

class CopyLoader : public RowSink {
public:
    // Rows are sent when a table holds `batchBytes` or more, and by finish().
    explicit CopyLoader(Connection& cn, qsizetype batchBytes = 8 << 20);

    int declare(const QString& table, const QStringList& columns) override;
    void row(int table, const QStringList& fields) override;
    void finish() override;

    qint64 rows() const { return rows_; }

private:
    struct Table {
        QString name;
        QStringList columns;
        QByteArray pending;
    };
    void flush(Table& table);

    Connection& cn_;
    qsizetype batchBytes_;
    std::vector<Table> tables_;
    qint64 rows_ = 0;
};

// Appends `field` to `out` in COPY text form: \N for null, the bytes of the text with
// backslash, tab, line feed and carriage return escaped. The escaping works on bytes, so the
// second byte 0x5C of a Big5 character (許) is escaped too and arrives unchanged.
void appendCopyField(QByteArray& out, const QByteArray& bytes, bool isNull);
