#include "db/trial_schema.h"

#include "db/connection.h"

namespace {

struct Types {
    QString code(int width) const {
        return QStringLiteral("%1(%2)").arg(charCodes ? "char" : "varchar").arg(width);
    }
    QString amount() const { return charCodes ? "float8" : "numeric(12,0)"; }
    QString quantity() const { return charCodes ? "float8" : "numeric(12,2)"; }
    QString meter(int decimals) const {
        return charCodes ? QStringLiteral("float8")
                         : QStringLiteral("numeric(14,%1)").arg(decimals);
    }
    bool charCodes;
};

} // namespace

QStringList trialTableNames() {
    return {"set_system", "product",      "cust_unit",    "car_data",      "dcard_mbr",
            "set_island", "tank_data",    "shift",        "tran",          "tran_detl",
            "oil_change", "shift_01_gun", "shift_02_oil", "shift_03_tank", "shift_04_stock",
            "shift_05",   "shift_06",     "inv_range"};
}

QStringList trialSchemaStatements(const TrialSchemaOptions& options) {
    const Types t{options.charCodes};
    const QString c2 = t.code(2), c3 = t.code(3), c9 = t.code(9), c13 = t.code(13),
                  c20 = t.code(20), amt = t.amount(), qty = t.quantity();
    QStringList s;
    s << "create table set_system (set_id varchar(20) primary key, set_value varchar(60))";
    s << QStringLiteral("create table product (product_id %1 primary key, name varchar(20), "
                        "class %2, price %3)")
             .arg(c13, c3, qty);
    s << (options.older
              ? QStringLiteral("create table cust_unit (cust_id %1 primary key, unit_name "
                               "varchar(40))")
                    .arg(c20)
              : QStringLiteral("create table cust_unit (cust_id %1 primary key, unit_name "
                               "varchar(40), discount_d float8 default 0, discount_g float8 "
                               "default 0)")
                    .arg(c20));
    s << QStringLiteral("create table car_data (car_no %1 primary key, cust_id %2)")
             .arg(t.code(10), c20);
    s << QStringLiteral("create table dcard_mbr (dcard_no %1 primary key, car_no %2)")
             .arg(c20, t.code(10));
    s << QStringLiteral("create table set_island (island %1, gun_no %1, product_id %2, "
                        "primary key (island, gun_no))")
             .arg(c2, c13);
    s << QStringLiteral("create table tank_data (tankno %1 primary key, productno %2)")
             .arg(t.code(1), c13);
    s << QStringLiteral("create table shift (shift %1 primary key)").arg(t.code(1));
    s << QStringLiteral(
             "create table tran (island %1, gun_no %1, tran_time timestamp, shift %2, "
             "car_no varchar(10), ref_no1 varchar(20), ref_no2 varchar(20), ref_no4 varchar(20), "
             "tran_amt %3, real_amt %3, inv_amt %3, tax %3, discount %3, payment %4, "
             "tran_tp %4, tax_type varchar(3), ser_no integer, tran_mode %5, an_mark %4, "
             "invoice varchar(10), invoice_tp %5, uid varchar(8), void smallint, "
             "prt_invoice varchar(2), primary key (island, gun_no, tran_time))")
             .arg(c2, c9, amt, c3, t.code(1));
    s << QStringLiteral(
             "create table tran_detl (island %1, gun_no %1, tran_time timestamp, seq integer, "
             "shift %2, product_id %3, class %4, price %5, qty %5, amt %6, unit varchar(2), "
             "tax_type varchar(3), primary key (island, gun_no, tran_time, seq))")
             .arg(c2, c9, c13, c3, qty, amt);
    // Receipts have no key of their own in the point-of-sale system.
    s << QStringLiteral("create table oil_change (shift %1, target_tank %2, gasoline_vol %3, "
                        "%4bill_no varchar(20), prod_id %5, del_mark varchar(1) default '')")
             .arg(c9, t.code(1), qty, options.older ? "" : "in_price float8 default 0, ", c13);
    s << QStringLiteral(
             "create table shift_01_gun (shift %1, island %2, gun_no %2, product_id %3, "
             "oilname varchar(20), price %4, start_qty %5, start_amt %6, now_qty %5, "
             "now_amt %6, out_qty %4, out_amt %7, test_qty %4, test_amt %7, walk_qty %4, "
             "walk_amt %7, primary key (shift, island, gun_no))")
             .arg(c9, c2, c13, qty, t.meter(2), t.meter(0), amt);
    s << QStringLiteral(
             "create table shift_02_oil (shift %1, product_id %2, ticket_qty %3, ticket_amt %4, "
             "cdc_qty %3, cdc_amt %4, cdc_qty2 %3, cdc_amt2 %4, credit_qty %3, credit_amt %4, "
             "test_amt %4, walk_amt %4, primary key (shift, product_id))")
             .arg(c9, c13, qty, amt);
    s << QStringLiteral(
             "create table shift_03_tank (shift %1, tank %2, oilname varchar(20), in_stock %3, "
             "sale %3, checkstock %3, account1 %3, account2 %3, real_stock1 %3, real2 %3, "
             "count %3, surplus_4 %3, diff_vol %3, primary key (shift, tank))")
             .arg(c9, c2, qty);
    s << QStringLiteral(
             "create table shift_04_stock (shift %1, product_id %2, bef_stock %3, in_qty %3, "
             "in_price %3, sale_qty %3, sale_price %3, sale_amt %4, abert_qty %3, "
             "check_qty %3, stock %3, primary key (shift, product_id))")
             .arg(c9, c13, qty, amt);
    s << QStringLiteral("create table shift_05 (shift %1 primary key, goods_amt %2, diff_amt1 %2, "
                        "prod_disc %2, cdc1_amt %2, cdc2_amt %2, credit_amt %2, ticket_amt %2, "
                        "oil_amt_2 %2, tot_amt_2 %2, oil_disc %2)")
             .arg(c9, amt);
    s << QStringLiteral("create table shift_06 (shift %1, product_id %2, class %3, amt %4, "
                        "primary key (shift, product_id))")
             .arg(c9, c13, c3, amt);
    s << QStringLiteral("create table inv_range (inv_date %1, inv_start %2, inv_end %2, "
                        "code %3, void %3, primary key (inv_start))")
             .arg(t.code(5), t.code(10), t.code(1));
    return s;
}

void createTrialTables(Connection& cn, const TrialSchemaOptions& options) {
    for (const QString& statement : trialSchemaStatements(options))
        cn.exec(statement);
}

void dropTrialTables(Connection& cn) {
    QStringList names = trialTableNames();
    std::reverse(names.begin(), names.end());
    for (const QString& name : names)
        cn.exec(QStringLiteral("drop table if exists %1").arg(name));
}
