// The station settings kept in memory for the whole run, read once at start-up from the
// key/value table set_system.
#pragma once

#include <QString>

class Query;

struct StationSettings {
    QString st_name;     // station name, the first line of every printed report
    QString uid;         // unified business number (8 digits)
    QString tax_id;      // tax registration number (9 digits)
    double tax_rate = 0; // VAT rate as a fraction, 0.05
};

// Reads the four settings from `setSystem`, an open query over all rows of set_system;
// keys are found without regard to letter case, texts lose the blanks around them, an
// absent key leaves its setting empty (0 for the tax rate). Returns a warning when
// "tax_rate" holds no number (the rate is then 0), else an empty text.
QString readStationSettings(Query& setSystem, StationSettings& settings);
