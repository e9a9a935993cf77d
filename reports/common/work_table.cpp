#include "reports/common/work_table.h"

#include "db/db_error.h"
#include "db/query.h"

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

void openWorkRows(Query& query, const QString& table) {
    query.close();
    // A table filled once and never updated keeps its rows in the order written.
    query.setSql(QStringLiteral("select * from %1 order by ctid").arg(table));
    query.open();
}
