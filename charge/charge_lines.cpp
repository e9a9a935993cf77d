#include "charge/charge_lines.h"

#include "db/connection.h"

namespace chargeLines {

QString liveChargeLinesSql() {
    return QStringLiteral(
        "and ((m.payment = '903') or (m.payment = '904')) and m.an_mark < '200' "
        "and m.island = d.island and m.gun_no = d.gun_no and m.tran_time = d.tran_time ");
}

QString discountRateSql() {
    // float8 rates become the decimal the office keyed in (1.2, not 1.19999...).
    return QStringLiteral(
        "(case when c.cust_id is not null and d.class = '101' then "
        "coalesce(case when substr(d.product_id,1,7) = '113F 12' then c.discount_g "
        "else c.discount_d end, 0) else 0 end)::numeric");
}

QString lineDiscountSql() {
    // numeric round() takes halves away from zero.
    return QStringLiteral("round(%1 * coalesce(d.qty,0)::numeric)").arg(discountRateSql());
}

void preferHashJoins(Connection& cn) {
    cn.exec(QStringLiteral("SET LOCAL enable_nestloop = off"));
}

} // namespace chargeLines
