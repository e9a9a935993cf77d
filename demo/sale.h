// One generated sale as the planner decides it and the sale writer records it in tran and
// tran_detl: nozzle, moment, payment, invoice and its lines with their amounts.
#pragma once

#include <QString>
#include <array>

// tran.payment: cash "900" (group U-card sales too), bank card "901", oil ticket "902",
// charge account "903", second charge type "904", fleet card "905", 捷利 card "906".
enum class DemoPayment { Cash, BankCard, Ticket, Charge, Charge2, Fleet, Jieli };

// tran.an_mark: live "100", voided "200", cancelled "300".
enum class DemoStatus { Live, Voided, Cancelled };

struct DemoLine {
    int product = 0;       // index into DemoMasters::products
    qint64 priceCents = 0; // negative on discount and deduction lines
    qint64 quantity = 0;   // hundredths
    qint64 amount = 0;     // price times quantity, whole dollars
};

struct DemoSale {
    int second = 0; // from the start of the shift
    int nozzle = 0; // index into DemoMasters::nozzles; nozzles.size() is the shop counter
    DemoPayment payment = DemoPayment::Cash;
    DemoStatus status = DemoStatus::Live;
    bool taxFree = false;
    int invoiceForm = 0; // 0 none, 2 two-part, 3 three-part
    QString carNo;
    QString company;  // cust_unit.cust_id of a charge sale
    QString card;     // group U-card number
    QString buyerUid; // on a three-part invoice
    std::array<DemoLine, 4> lines;
    int lineCount = 0;

    bool isLive() const { return status == DemoStatus::Live; }
    void addLine(int product, qint64 priceCents, qint64 quantity, qint64 amount) {
        lines[lineCount++] = {product, priceCents, quantity, amount};
    }
};
