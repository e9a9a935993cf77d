#include "demo/goods.h"

#include "demo/format.h"

namespace {

enum Column {
    CShift,
    CProduct,
    CBefore,
    CInQty,
    CInPrice,
    CSaleQty,
    CSalePrice,
    CSaleAmt,
    CAbert,
    CCheck,
    CStock
};
const QStringList columns = {"shift",     "product_id", "bef_stock",  "in_qty",
                             "in_price",  "sale_qty",   "sale_price", "sale_amt",
                             "abert_qty", "check_qty",  "stock"};

QString pieces(qint64 count) {
    return demo::fixedText(100 * count, 2);
}

} // namespace

DemoGoods::DemoGoods(const DemoMasters& masters, DemoRandom& rng, RowSink& sink, qint64& rowCount)
    : m_(masters), rng_(rng), goods_(masters.goods.size()), onHand_(masters.goods.size()),
      table_(sink, QStringLiteral("shift_04_stock"), columns, rowCount) {
    for (Good& g : goods_)
        g.stock = rng_.between(6, 60);
}

QList<qint64>& DemoGoods::beginShift(const DemoShift& shift) {
    for (qsizetype i = 0; i < goods_.size(); ++i) {
        Good& g = goods_[i];
        g.received = shift.isDayShift() && g.stock < 12 ? 24 * rng_.between(1, 3) : 0;
        g.broken = g.stock + g.received > 0 && rng_.chance(1, 200) ? 1 : 0;
        g.corrected = 0;
        if (rng_.chance(1, 200)) g.corrected = rng_.chance(1, 2) ? 1 : -1;
        onHand_[i] = g.stock + g.received - g.broken + g.corrected;
        if (onHand_[i] < 0) {
            g.corrected = 0;
            onHand_[i] = g.stock + g.received - g.broken;
        }
    }
    return onHand_;
}

void DemoGoods::endShift(const DemoShift& shift, const DemoShiftTotals& totals) {
    for (qsizetype i = 0; i < goods_.size(); ++i) {
        Good& g = goods_[i];
        const DemoProduct& product = m_.products[m_.goods[i]];
        const qint64 sold = totals.goods[i].quantity / 100;
        const qint64 stock = g.stock + g.received - sold - g.broken + g.corrected;
        table_[CShift] = shift.code;
        table_[CProduct] = product.id;
        table_[CBefore] = pieces(g.stock);
        table_[CInQty] = pieces(g.received);
        table_[CInPrice] = demo::fixedText(product.costCents, 2);
        table_[CSaleQty] = pieces(sold);
        table_[CSalePrice] = demo::fixedText(product.priceCents, 2);
        table_[CSaleAmt] = demo::wholeText(totals.goods[i].amount);
        table_[CAbert] = pieces(g.broken);
        table_[CCheck] = pieces(g.corrected);
        table_[CStock] = pieces(stock);
        table_.write();
        g.stock = stock;
    }
}
