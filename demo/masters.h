// The demo station's set-up: identity, products, nozzles and tanks, charge companies with
// their vehicles, and group U-cards. Made once from the seed; the sales refer to it by index.
#pragma once

#include "demo/random.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class RowSink;

// The four fuels, in the order of the product-code constants.
enum DemoFuel { Fuel92, FuelDiesel, Fuel95, Fuel98, FuelCount };
using DemoFuelPrices = std::array<qint64, FuelCount>; // cents per litre

enum class DemoVehicleKind { Motorbike, Car, Van, Truck };

struct DemoProduct {
    QString id;
    QString name;
    QString cls;
    qint64 priceCents = 0; // list price; a fuel's price is set per shift
    qint64 costCents = 0;  // purchase price of a shop good
};

struct DemoNozzle {
    QString island;
    QString gun;
    int fuel = 0;
    int tank = 0; // index into DemoMasters::tanks
};

struct DemoTank {
    QString digit; // tank_data.tankno, oil_change.target_tank
    QString code;  // shift_03_tank.tank: "0" + digit
    int fuel = 0;
    qint64 capacity = 0; // hundredths of a litre
};

struct DemoVehicle {
    QString carNo;
    DemoVehicleKind kind = DemoVehicleKind::Car;
    int fuel = 0;
};

struct DemoCompany {
    QString id;
    QString name;
    qint64 dieselRate = 0; // cust_unit per-litre discounts, cents
    qint64 petrolRate = 0;
    qint64 pumpRate = 0; // discount line given at the pump instead (then both rates are 0)
    QString uid;         // business number on its three-part invoices
    int firstVehicle = 0;
    int vehicleCount = 0;
};

struct DemoCard {
    QString number;
    DemoVehicle vehicle;
    qint64 rate = 0; // discount per litre, cents
};

struct DemoMasters {
    QString stationName;
    QString stationUid;
    QString stationTaxId;

    QList<DemoProduct> products;
    std::array<int, FuelCount> fuelProduct{};
    int discountProduct = 0; // class 131 line of U-card and pump-discount sales
    int fleetProduct = 0;    // Prod700LT
    int jieliProduct = 0;    // Prod700CT
    QList<int> goods;        // stocked shop goods, class 102
    QList<int> carWashes;    // class 102, not stocked
    QList<int> gifts;        // class 104

    QList<DemoNozzle> nozzles;
    DemoNozzle counter; // the shop counter, gun "00"; not in set_island
    QList<DemoTank> tanks;

    QList<DemoCompany> companies;
    QList<DemoVehicle> vehicles; // the companies' vehicles, each company a consecutive slice
    QList<DemoCard> cards;       // registered cards first, then a few unknown to dcard_mbr
    int registeredCards = 0;
    QStringList buyerUids; // buyers who ask for three-part invoices
};

// The station's set-up drawn from `rng`.
DemoMasters makeDemoMasters(DemoRandom& rng);

// Writes set_system, product (fuels at `fuelPrices`), cust_unit, car_data, dcard_mbr,
// set_island, tank_data and shift; adds the rows to `rowCount`. Throws what the sink throws.
void writeDemoMasters(const DemoMasters& masters, const DemoFuelPrices& fuelPrices, RowSink& sink,
                      qint64& rowCount);
