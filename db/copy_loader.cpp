#include "db/copy_loader.h"

#include "db/connection.h"

void appendCopyField(QByteArray& out, const QByteArray& bytes, bool isNull) {
    if (isNull) {
        out += "\\N";
        return;
    }
    for (char b : bytes) {
        switch (b) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += b;
        }
    }
}

CopyLoader::CopyLoader(Connection& cn, qsizetype batchBytes) : cn_(cn), batchBytes_(batchBytes) {}

int CopyLoader::declare(const QString& table, const QStringList& columns) {
    tables_.push_back({table, columns, {}});
    return int(tables_.size()) - 1;
}

void CopyLoader::row(int table, const QStringList& fields) {
    Table& t = tables_[std::size_t(table)];
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i) t.pending += '\t';
        appendCopyField(t.pending,
                        fields[i].isNull() ? QByteArray() : cn_.codec().encode(fields[i]),
                        fields[i].isNull());
    }
    t.pending += '\n';
    ++rows_;
    if (t.pending.size() >= batchBytes_) flush(t);
}

void CopyLoader::flush(Table& table) {
    if (table.pending.isEmpty()) return;
    cn_.copyIn(table.name, table.columns, table.pending);
    table.pending.clear();
}

void CopyLoader::finish() {
    for (Table& t : tables_)
        flush(t);
}
