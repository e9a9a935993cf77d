#include "demo/masters.h"

#include "app/product_codes.h"
#include "demo/format.h"
#include "demo/table.h"

#include <set>

namespace {

struct GoodRow {
    const char16_t* name;
    qint64 price;
    qint64 cost;
};

// Shop goods; 功, 蓋 and 許 end in the byte 0x5C in Big5.
const GoodRow shopGoods[] = {
    {u"礦泉水600ml", 2000, 1200},   {u"運動飲料", 2500, 1600},     {u"功能飲料", 3500, 2300},
    {u"罐裝咖啡", 3000, 1900},      {u"無糖綠茶", 2500, 1500},     {u"機油1L", 35000, 24000},
    {u"合成機油4L", 120000, 85000}, {u"機車機油", 18000, 11000},   {u"雨刷", 35000, 22000},
    {u"盒裝面紙", 4500, 2800},      {u"濕紙巾", 3900, 2400},       {u"口香糖", 3500, 2200},
    {u"玻璃清潔劑", 12000, 7000},   {u"水箱精", 15000, 9000},      {u"油箱蓋", 25000, 15000},
    {u"許氏人蔘茶", 6000, 3800},    {u"氣嘴蓋", 5000, 2500},       {u"車用芳香劑", 9900, 5500},
    {u"功夫餅乾", 3000, 1800},      {u"車用充電器", 29900, 18000},
};
const GoodRow carWashes[] = {{u"自動洗車", 15000, 0}, {u"精緻洗車", 30000, 0}};
const char16_t* const gifts[] = {u"贈品面紙", u"贈品礦泉水", u"贈品濕紙巾", u"環保購物袋"};

const char16_t* const companyPlaces[] = {u"大園", u"觀音", u"許厝", u"竹圍", u"南崁", u"蘆竹",
                                         u"海湖", u"沙崙", u"埔心", u"新屋", u"楊梅", u"中壢"};
struct TradeRow {
    const char16_t* name;
    bool heavy; // trucks and vans rather than cars
};
const TradeRow companyTrades[] = {
    {u"運輸", true},  {u"貨運", true},  {u"物流", true},     {u"砂石", true},
    {u"營造", true},  {u"交通", false}, {u"租賃", false},    {u"水電工程", false},
    {u"食品", false}, {u"鋼鐵", true},  {u"汽車客運", true}, {u"保全", false},
};
const char16_t* const companyForms[] = {u"有限公司", u"股份有限公司", u"企業社", u"實業有限公司"};

// cust_unit discounts per litre, cents; 0 is the common case.
const qint64 companyRates[] = {0, 0, 0, 50, 80, 100, 120, 150, 200};

struct NozzleRow {
    const char* island;
    const char* gun;
    int tank;
};
// Tanks 1,2 hold 92, 3,4 hold 95, 5,6 and 8 diesel, 7 holds 98.
const int tankFuels[] = {Fuel92,     Fuel92,     Fuel95, Fuel95,
                         FuelDiesel, FuelDiesel, Fuel98, FuelDiesel};
const NozzleRow nozzleRows[] = {
    {"01", "01", 0}, {"01", "02", 2}, {"01", "03", 6}, {"01", "04", 4},
    {"02", "01", 1}, {"02", "02", 3}, {"02", "03", 0}, {"02", "04", 5},
    {"03", "01", 0}, {"03", "02", 2}, {"03", "03", 3}, {"03", "04", 6},
    {"04", "01", 7}, {"04", "02", 4}, {"04", "03", 1}, {"04", "04", 5},
};

QString digits(DemoRandom& rng, int count) {
    QString text(count, Qt::Uninitialized);
    for (QChar& c : text)
        c = QChar(char16_t(u'0' + rng.below(10)));
    return text;
}

// An EAN-13 article number: `prefix`, random digits, check digit.
QString articleNumber(DemoRandom& rng, const QString& prefix) {
    QString number = prefix + digits(rng, 12 - prefix.size());
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (number[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return number + QChar(u'0' + (10 - sum % 10) % 10);
}

class PlateMaker {
public:
    explicit PlateMaker(DemoRandom& rng) : rng_(rng) {}
    // A car number "ABC-1234" not handed out before.
    QString next() {
        for (;;) {
            QString plate(8, Qt::Uninitialized);
            for (int i = 0; i < 3; ++i)
                plate[i] = QChar(char16_t(u'A' + rng_.below(26)));
            plate[3] = u'-';
            for (int i = 4; i < 8; ++i)
                plate[i] = QChar(char16_t(u'0' + rng_.below(10)));
            if (used_.insert(plate).second) return plate;
        }
    }

private:
    DemoRandom& rng_;
    std::set<QString> used_;
};

DemoVehicle makeVehicle(DemoRandom& rng, PlateMaker& plates, bool heavy) {
    DemoVehicle v;
    v.carNo = plates.next();
    v.kind = heavy ? (rng.chance(1, 4) ? DemoVehicleKind::Truck : DemoVehicleKind::Van)
                   : (rng.chance(1, 5) ? DemoVehicleKind::Van : DemoVehicleKind::Car);
    if (v.kind == DemoVehicleKind::Car) {
        const int fuels[] = {Fuel92, Fuel95, Fuel98};
        v.fuel = fuels[rng.weighted({50, 40, 10})];
    } else {
        v.fuel = v.kind == DemoVehicleKind::Van && rng.chance(1, 4) ? Fuel92 : FuelDiesel;
    }
    return v;
}

void addProducts(DemoMasters& m, DemoRandom& rng) {
    auto add = [&m](const QString& id, const QString& name, const char* cls, qint64 price,
                    qint64 cost) {
        m.products.append({id, name, QString::fromLatin1(cls), price, cost});
        return int(m.products.size() - 1);
    };
    m.fuelProduct[Fuel92] = add(products::Prod92, QStringLiteral("九二無鉛"), "101", 0, 0);
    m.fuelProduct[FuelDiesel] = add(products::ProdDiesel, QStringLiteral("超級柴油"), "101", 0, 0);
    m.fuelProduct[Fuel95] = add(products::Prod95, QStringLiteral("九五無鉛"), "101", 0, 0);
    m.fuelProduct[Fuel98] = add(products::Prod98, QStringLiteral("九八無鉛"), "101", 0, 0);
    m.fleetProduct = add(products::Prod700LT, QStringLiteral("車隊卡扣款"), "132", 0, 0);
    m.jieliProduct = add(products::Prod700CT, QStringLiteral("捷利卡扣款"), "132", 0, 0);
    m.discountProduct =
        add(QStringLiteral("131D000000001"), QStringLiteral("加油折扣"), "131", 0, 0);

    std::set<QString> ids;
    auto uniqueArticle = [&](const QString& prefix) {
        for (;;) {
            QString id = articleNumber(rng, prefix);
            if (ids.insert(id).second) return id;
        }
    };
    for (const GoodRow& g : shopGoods)
        m.goods.append(add(uniqueArticle(QStringLiteral("471")), QString::fromUtf16(g.name), "102",
                           g.price, g.cost));
    for (const GoodRow& w : carWashes)
        m.carWashes.append(add(uniqueArticle(QStringLiteral("20")), QString::fromUtf16(w.name),
                               "102", w.price, 0));
    for (const char16_t* name : gifts)
        m.gifts.append(
            add(uniqueArticle(QStringLiteral("29")), QString::fromUtf16(name), "104", 0, 0));
}

void addPumps(DemoMasters& m) {
    for (int t = 0; t < 8; ++t) {
        const QString digit = QString::number(t + 1);
        const qint64 litres = tankFuels[t] == Fuel98 ? 20000 : 30000;
        m.tanks.append({digit, QStringLiteral("0") + digit, tankFuels[t], litres * 100});
    }
    for (const NozzleRow& n : nozzleRows)
        m.nozzles.append({QString::fromLatin1(n.island), QString::fromLatin1(n.gun),
                          m.tanks[n.tank].fuel, n.tank});
    m.counter = {QStringLiteral("01"), QStringLiteral("00"), -1, -1};
}

void addCustomers(DemoMasters& m, DemoRandom& rng) {
    PlateMaker plates(rng);
    std::set<std::pair<int, int>> names;
    const int companyCount = 30;
    for (int c = 0; c < companyCount; ++c) {
        int place, trade;
        do {
            place = int(rng.below(std::size(companyPlaces)));
            trade = int(rng.below(std::size(companyTrades)));
        } while (!names.insert({place, trade}).second);
        DemoCompany company;
        company.id = QStringLiteral("C%1").arg(c + 1, 3, 10, QLatin1Char('0'));
        company.name = QString::fromUtf16(companyPlaces[place]) +
                       QString::fromUtf16(companyTrades[trade].name) +
                       QString::fromUtf16(companyForms[rng.below(std::size(companyForms))]);
        // One company in seven gets its discount as a line at the pump, not from cust_unit.
        if (rng.chance(1, 7)) {
            company.pumpRate = 100 * rng.between(2, 4) / 2;
        } else {
            company.dieselRate = companyRates[rng.below(std::size(companyRates))];
            company.petrolRate = companyRates[rng.below(std::size(companyRates))];
        }
        company.uid = digits(rng, 8);
        company.firstVehicle = int(m.vehicles.size());
        company.vehicleCount = int(rng.between(3, 8));
        for (int v = 0; v < company.vehicleCount; ++v)
            m.vehicles.append(makeVehicle(rng, plates, companyTrades[trade].heavy));
        m.companies.append(company);
    }
    std::set<QString> cardNumbers;
    auto addCard = [&] {
        DemoCard card;
        do
            card.number = QStringLiteral("8860") + digits(rng, 12);
        while (!cardNumbers.insert(card.number).second);
        card.vehicle = makeVehicle(rng, plates, rng.chance(1, 3));
        card.rate = rng.chance(2, 3) ? 100 : 200;
        m.cards.append(card);
    };
    for (m.registeredCards = 0; m.registeredCards < 40; ++m.registeredCards)
        addCard();
    for (int i = 0; i < 3; ++i)
        addCard();
    for (int i = 0; i < 40; ++i)
        m.buyerUids.append(digits(rng, 8));
}

} // namespace

DemoMasters makeDemoMasters(DemoRandom& rng) {
    DemoMasters m;
    m.stationName = QStringLiteral("許厝港加油站");
    m.stationUid = digits(rng, 8);
    m.stationTaxId = digits(rng, 9);
    addProducts(m, rng);
    addPumps(m);
    addCustomers(m, rng);
    return m;
}

void writeDemoMasters(const DemoMasters& m, const DemoFuelPrices& fuelPrices, RowSink& sink,
                      qint64& rowCount) {
    DemoTable settings(sink, QStringLiteral("set_system"), {"set_id", "set_value"}, rowCount);
    const std::pair<const char*, QString> values[] = {
        {"st_name", m.stationName},
        {"uid", m.stationUid},
        {"tax_id", m.stationTaxId},
        {"tax_rate", QStringLiteral("0.05")},
        {"st_addr", QStringLiteral("桃園市大園區許厝港路168號")},
        {"pos_version", QStringLiteral("3.2.7")},
    };
    for (const auto& [key, value] : values) {
        settings[0] = QString::fromLatin1(key);
        settings[1] = value;
        settings.write();
    }

    DemoTable product(sink, QStringLiteral("product"), {"product_id", "name", "class", "price"},
                      rowCount);
    for (int i = 0; i < m.products.size(); ++i) {
        const DemoProduct& p = m.products[i];
        qint64 price = p.priceCents;
        for (int f = 0; f < FuelCount; ++f)
            if (m.fuelProduct[f] == i) price = fuelPrices[f];
        product[0] = p.id;
        product[1] = p.name;
        product[2] = p.cls;
        product[3] = demo::fixedText(price, 2);
        product.write();
    }

    DemoTable units(sink, QStringLiteral("cust_unit"),
                    {"cust_id", "unit_name", "discount_d", "discount_g"}, rowCount);
    DemoTable cars(sink, QStringLiteral("car_data"), {"car_no", "cust_id"}, rowCount);
    for (const DemoCompany& c : m.companies) {
        units[0] = c.id;
        units[1] = c.name;
        units[2] = demo::fixedText(c.dieselRate, 2);
        units[3] = demo::fixedText(c.petrolRate, 2);
        units.write();
        for (int v = c.firstVehicle; v < c.firstVehicle + c.vehicleCount; ++v) {
            cars[0] = m.vehicles[v].carNo;
            cars[1] = c.id;
            cars.write();
        }
    }

    DemoTable members(sink, QStringLiteral("dcard_mbr"), {"dcard_no", "car_no"}, rowCount);
    for (int i = 0; i < m.registeredCards; ++i) {
        members[0] = m.cards[i].number;
        members[1] = m.cards[i].vehicle.carNo;
        members.write();
    }

    DemoTable islands(sink, QStringLiteral("set_island"), {"island", "gun_no", "product_id"},
                      rowCount);
    for (const DemoNozzle& n : m.nozzles) {
        islands[0] = n.island;
        islands[1] = n.gun;
        islands[2] = m.products[m.fuelProduct[n.fuel]].id;
        islands.write();
    }

    DemoTable tanks(sink, QStringLiteral("tank_data"), {"tankno", "productno"}, rowCount);
    for (const DemoTank& t : m.tanks) {
        tanks[0] = t.digit;
        tanks[1] = m.products[m.fuelProduct[t.fuel]].id;
        tanks.write();
    }

    DemoTable shifts(sink, QStringLiteral("shift"), {"shift"}, rowCount);
    for (const char* number : {"1", "2", "3"}) {
        shifts[0] = QString::fromLatin1(number);
        shifts.write();
    }
}
