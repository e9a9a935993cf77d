#include "reports/common/work_table.h"

#include "db/db_error.h"
#include "db/query.h"
#include "db/text_codec.h"

void recreateWorkTable(Query& query, const QString& table, const QString& createStatement) {
    query.close();
    query.setSql(QStringLiteral("drop table IF EXISTS %1 ").arg(table));
    try {
        query.execute();
    } catch (const DbError&) {
        // whatever stood in the way, the create below says so if it matters
    }
    query.setSql(createStatement);
    query.execute();
}

void openWorkRows(Query& query, const QString& table, const QString& orderBy) {
    query.close();
    query.setSql(QStringLiteral("select * from %1 order by %2ctid")
                     .arg(table, orderBy.isEmpty() ? QString() : orderBy + QStringLiteral(", ")));
    query.open();
}

QString fitToColumn(const QString& text, int width, const TextCodec& codec) {
    const bool bytes = codec.encoding() == TextCodec::Encoding::Big5;
    int used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype next = end + (text.at(end).isHighSurrogate() ? 2 : 1);
        const QStringView character = QStringView(text).mid(end, next - end);
        const int size = bytes ? int(codec.encodeLossy(character).size()) : 1;
        if (used + size > width) break;
        used += size;
        end = next;
    }
    return text.left(end);
}
