#include "demo/sale_planner.h"

#include "demo/money.h"

#include <algorithm>

namespace {

// Customers per hour of each shift: busy mornings and evenings, a quiet night.
const int hourWeights[3][8] = {
    {4, 8, 9, 7, 6, 7, 8, 7},
    {7, 7, 8, 9, 9, 7, 5, 4},
    {5, 3, 2, 1, 1, 1, 2, 4},
};

enum PumpCustomer { Walkin, UCard, BankCard, Ticket, Charge, Charge2, Fleet, Jieli };
const std::initializer_list<int> pumpCustomerWeights = {560, 50, 150, 40, 100, 30, 45, 25};

// Walk-in customers by fuel (Fuel92, FuelDiesel, Fuel95, Fuel98).
const std::initializer_list<int> fuelWeights = {44, 10, 40, 6};

} // namespace

DemoSalePlanner::DemoSalePlanner(const DemoMasters& masters, DemoRandom& rng)
    : m_(masters), rng_(rng), taken_(masters.nozzles.size() + 1) {
    for (int n = 0; n < m_.nozzles.size(); ++n)
        nozzlesOfFuel_[m_.nozzles[n].fuel].append(n);
}

void DemoSalePlanner::plan(const DemoShift& shift, int count, QList<qint64>& goodsOnHand,
                           std::vector<DemoSale>& sales) {
    for (auto& seconds : taken_)
        seconds.reset();
    sales.assign(std::size_t(std::max(count, 0)), DemoSale());
    for (DemoSale& sale : sales) {
        const qint64 mark = rng_.below(10000);
        sale.status = mark < 20   ? DemoStatus::Voided
                      : mark < 25 ? DemoStatus::Cancelled
                                  : DemoStatus::Live;
        if (rng_.chance(8, 100)) {
            sale.nozzle = int(m_.nozzles.size());
            planCounterSale(sale, goodsOnHand);
        } else {
            planPumpSale(shift, sale);
        }
        sale.second = moment(shift, sale.nozzle);
        planInvoice(sale);
    }
    std::sort(sales.begin(), sales.end(), [](const DemoSale& a, const DemoSale& b) {
        return a.second != b.second ? a.second < b.second : a.nozzle < b.nozzle;
    });
}

void DemoSalePlanner::planPumpSale(const DemoShift& shift, DemoSale& sale) {
    DemoVehicleKind kind;
    int fuel;
    qint64 discountRate = 0; // cents per litre on a discount line
    const int customer = rng_.weighted(pumpCustomerWeights);
    switch (customer) {
    case Charge:
    case Charge2: {
        const DemoCompany& c = m_.companies[rng_.below(m_.companies.size())];
        const DemoVehicle& v = m_.vehicles[c.firstVehicle + rng_.below(c.vehicleCount)];
        sale.payment = customer == Charge ? DemoPayment::Charge : DemoPayment::Charge2;
        sale.company = c.id;
        sale.carNo = v.carNo;
        sale.buyerUid = c.uid;
        kind = v.kind;
        fuel = v.fuel;
        discountRate = c.pumpRate;
        break;
    }
    case UCard: {
        // One card sale in 12 shows a card the station has not registered.
        const qint64 unknown = m_.cards.size() - m_.registeredCards;
        const DemoCard& card = rng_.chance(1, 12)
                                   ? m_.cards[m_.registeredCards + rng_.below(unknown)]
                                   : m_.cards[rng_.below(m_.registeredCards)];
        sale.card = card.number;
        sale.carNo = card.vehicle.carNo;
        kind = card.vehicle.kind;
        fuel = card.vehicle.fuel;
        discountRate = card.rate;
        break;
    }
    case Fleet: {
        sale.payment = DemoPayment::Fleet;
        const DemoVehicleKind kinds[] = {DemoVehicleKind::Car, DemoVehicleKind::Van,
                                         DemoVehicleKind::Truck};
        kind = kinds[rng_.weighted({40, 40, 20})];
        fuel = kind == DemoVehicleKind::Car ? Fuel92 : FuelDiesel;
        break;
    }
    default:
        sale.payment = customer == BankCard ? DemoPayment::BankCard
                       : customer == Ticket ? DemoPayment::Ticket
                       : customer == Jieli  ? DemoPayment::Jieli
                                            : DemoPayment::Cash;
        fuel = rng_.weighted(fuelWeights);
        kind = walkInKind(fuel);
    }

    const QList<int>& nozzles = nozzlesOfFuel_[fuel];
    sale.nozzle = nozzles[rng_.below(nozzles.size())];
    const qint64 price = shift.prices[fuel];
    const qint64 quantity = litres(kind, price);
    const qint64 amount = demo::lineAmount(price, quantity);
    sale.addLine(m_.fuelProduct[fuel], price, quantity, amount);
    if (discountRate > 0)
        sale.addLine(m_.discountProduct, -discountRate, quantity,
                     demo::lineAmount(-discountRate, quantity));
    if (sale.payment == DemoPayment::Fleet || sale.payment == DemoPayment::Jieli) {
        // The card pays the sale; a 捷利 card now and then runs short and cash pays the rest.
        qint64 paid = amount;
        if (sale.payment == DemoPayment::Jieli && rng_.chance(1, 5))
            paid = amount * rng_.between(30, 90) / 100;
        const int product = sale.payment == DemoPayment::Fleet ? m_.fleetProduct : m_.jieliProduct;
        sale.addLine(product, -100 * paid, 100, -paid);
    }
    if (amount >= 800 && rng_.chance(1, 4))
        sale.addLine(m_.gifts[rng_.below(m_.gifts.size())], 0, 100, 0);
}

void DemoSalePlanner::planCounterSale(DemoSale& sale, QList<qint64>& goodsOnHand) {
    sale.payment = rng_.chance(15, 100) ? DemoPayment::BankCard : DemoPayment::Cash;
    const bool wash = rng_.chance(1, 4);
    if (wash) {
        const int product = m_.carWashes[rng_.below(m_.carWashes.size())];
        const qint64 price = m_.products[product].priceCents;
        sale.addLine(product, price, 100, demo::lineAmount(price, 100));
    }
    const qint64 goods = wash ? rng_.between(0, 1) : rng_.between(1, 3);
    for (qint64 i = 0; i < goods; ++i) {
        const int good = int(rng_.below(m_.goods.size()));
        const int product = m_.goods[good];
        bool repeated = false;
        for (int l = 0; l < sale.lineCount; ++l)
            repeated = repeated || sale.lines[l].product == product;
        const qint64 pieces = std::min(rng_.between(1, 3), goodsOnHand[good]);
        if (repeated || pieces == 0) continue;
        if (sale.isLive()) goodsOnHand[good] -= pieces;
        const qint64 price = m_.products[product].priceCents;
        sale.addLine(product, price, 100 * pieces, demo::lineAmount(price, 100 * pieces));
    }
    if (sale.lineCount == 0) {
        const int product = m_.carWashes.first();
        const qint64 price = m_.products[product].priceCents;
        sale.addLine(product, price, 100, demo::lineAmount(price, 100));
    }
}

void DemoSalePlanner::planInvoice(DemoSale& sale) {
    switch (sale.payment) {
    case DemoPayment::Ticket: // the invoice was printed when the ticket was sold
        return;
    case DemoPayment::Charge:
    case DemoPayment::Charge2: // invoiced monthly by the office, now and then at the pump
        if (rng_.chance(1, 10))
            sale.invoiceForm = 3;
        else
            sale.buyerUid.clear();
        return;
    default:
        if (rng_.chance(6, 100)) {
            sale.invoiceForm = 3;
            sale.buyerUid = m_.buyerUids[rng_.below(m_.buyerUids.size())];
        } else {
            sale.invoiceForm = 2;
        }
        sale.taxFree = rng_.chance(1, 1000);
    }
}

int DemoSalePlanner::moment(const DemoShift& shift, int nozzle) {
    const int hour = rng_.weighted(hourWeights[shift.number - 1]);
    int second = hour * 3600 + int(rng_.below(3600));
    auto& taken = taken_[std::size_t(nozzle)];
    while (taken.test(std::size_t(second)))
        second = (second + 1) % DemoShift::length;
    taken.set(std::size_t(second));
    return second;
}

qint64 DemoSalePlanner::litres(DemoVehicleKind kind, qint64 priceCents) {
    // Many customers ask for a round sum rather than a full tank.
    auto forMoney = [priceCents](qint64 dollars) {
        return demo::roundedQuotient(dollars * 10000, priceCents);
    };
    switch (kind) {
    case DemoVehicleKind::Motorbike:
        return rng_.chance(2, 5) ? forMoney(50 * rng_.between(1, 3)) : rng_.between(150, 600);
    case DemoVehicleKind::Car:
        return rng_.chance(3, 10) ? forMoney(500 * rng_.between(1, 2)) : rng_.between(1500, 4500);
    case DemoVehicleKind::Van:
        return rng_.between(3000, 7000);
    case DemoVehicleKind::Truck:
        return rng_.between(8000, 16000);
    }
    return 0;
}

DemoVehicleKind DemoSalePlanner::walkInKind(int fuel) {
    using K = DemoVehicleKind;
    switch (fuel) {
    case Fuel92:
        return std::array{K::Motorbike, K::Car, K::Van}[rng_.weighted({45, 50, 5})];
    case Fuel95:
        return rng_.chance(3, 10) ? K::Motorbike : K::Car;
    case Fuel98:
        return rng_.chance(1, 10) ? K::Motorbike : K::Car;
    default:
        return std::array{K::Car, K::Van, K::Truck}[rng_.weighted({35, 45, 20})];
    }
}
