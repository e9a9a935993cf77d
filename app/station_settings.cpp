#include "app/station_settings.h"

#include "db/db_error.h"
#include "db/query.h"

namespace {

QString setting(Query& q, const QString& key) {
    LocateOptions options;
    options.caseInsensitive = true;
    if (!q.locate("set_id", Value(key), options)) return {};
    return q.field("set_value").asText().trimmed();
}

} // namespace

QString readStationSettings(Query& q, StationSettings& settings) {
    if (q.isEmpty()) return {};
    settings.st_name = setting(q, "st_name");
    settings.uid = setting(q, "uid");
    settings.tax_id = setting(q, "tax_id");
    const QString rate = setting(q, "tax_rate");
    if (rate.isEmpty()) return {};
    try {
        settings.tax_rate = Value(rate).toDouble();
    } catch (const DbError&) {
        settings.tax_rate = 0;
        return QStringLiteral("set_system 的 tax_rate「%1」不是數字，稅率以 0 計算").arg(rate);
    }
    return {};
}
