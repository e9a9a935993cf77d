#include "db/table_info.h"

QString tableInfoQuery(PgOid table) {
    return QStringLiteral(
               "select a.attnum, a.attname, coalesce(a.attnum = any(i.indkey), false), "
               "quote_ident(n.nspname) || '.' || quote_ident(c.relname) "
               "from pg_class c join pg_namespace n on n.oid = c.relnamespace "
               "join pg_attribute a on a.attrelid = c.oid and a.attnum > 0 and not a.attisdropped "
               "left join pg_index i on i.indrelid = c.oid and i.indisprimary "
               "where c.oid = %1 order by a.attnum")
        .arg(table);
}
