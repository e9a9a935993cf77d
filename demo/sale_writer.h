// Records planned sales: one tran row and its tran_detl lines per sale, the invoice number
// taken from the invoice book, and the live sales added to the shift's totals.
#pragma once

#include "demo/invoices.h"
#include "demo/masters.h"
#include "demo/sale.h"
#include "demo/shift.h"
#include "demo/shift_totals.h"
#include "demo/table.h"

#include <QList>

class DemoSaleWriter {
public:
    DemoSaleWriter(const DemoMasters& masters, DemoInvoiceBook& invoices, RowSink& sink,
                   qint64& rowCount);

    // Writes `sale` of `shift`; a live sale is added to `totals`. Sales must come in time order
    // so that invoice numbers do. Throws what the sink throws.
    void write(const DemoShift& shift, const DemoSale& sale, DemoShiftTotals& totals);

    qint64 sales() const { return sales_; }
    qint64 lines() const { return lines_; }

private:
    // What a product's line means to the shift's figures.
    enum class Role { Fuel, Good, Wash, Gift, Discount, Fleet, Jieli };
    struct ProductRole {
        Role role = Role::Gift;
        int index = 0; // fuel, or entry in goods / carWashes
    };

    void addToTotals(const DemoSale& sale, qint64 due, DemoShiftTotals& totals) const;

    const DemoMasters& m_;
    DemoInvoiceBook& invoices_;
    DemoTable tran_;
    DemoTable detail_;
    QList<ProductRole> roles_;
    qint64 sales_ = 0;
    qint64 lines_ = 0;
};
