// What a written row needs to know of the table it belongs to: its qualified name, the
// names of its columns and its primary key.
#pragma once

#include "db/column.h"

#include <QHash>
#include <QList>
#include <QString>

struct TableInfo {
    QString qualifiedName;          // "public"."cust_unit", "pg_temp_3"."tbr010"
    QHash<int, QString> columnName; // by column number
    QList<int> primaryKey;          // column numbers, empty when the table has none
};

// The statement that reads the TableInfo of the table with oid `table`: one row per column
// (number, name, part of the primary key, qualified table name), in column order.
QString tableInfoQuery(PgOid table);
