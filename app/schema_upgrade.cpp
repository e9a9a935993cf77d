#include "app/schema_upgrade.h"

#include "db/query.h"

#include <exception>

namespace {

void addWhenMissing(Query& qy, Query& qy1, const char* check, const char* alter) {
    try {
        qy.close();
        qy.setSql(QString::fromLatin1(check));
        qy.open();
        if (qy.isEmpty()) {
            qy1.close();
            qy1.setSql(QString::fromLatin1(alter));
            qy1.execute();
        }
    } catch (const std::exception&) {
    }
}

} // namespace

void upgradeSchema(Query& qy, Query& qy1) {
    addWhenMissing(qy, qy1,
                   "select column_name from INFORMATION_SCHEMA.columns  where table_name = "
                   "'cust_unit' and column_name = 'discount_g' ",
                   "ALTER TABLE cust_unit ADD COLUMN discount_g float8 DEFAULT 0, ADD COLUMN "
                   "discount_d float8 DEFAULT 0; ");
    addWhenMissing(qy, qy1,
                   "select column_name from INFORMATION_SCHEMA.columns  where table_name = "
                   "'oil_change' and column_name = 'in_price' ",
                   "ALTER TABLE oil_change ADD COLUMN in_price float8 DEFAULT 0; ");
}
