// The demo and benchmark station: a deterministic, realistic filling station with its
// master data, sales and per-shift figures, generated into a RowSink.
#pragma once

#include <QDate>
#include <QtGlobal>

class Progress;
class RowSink;

struct DemoOptions {
    quint64 seed = 1;      // same seed and options, same station, byte for byte
    int days = 62;         // business days generated, ending with lastDay
    int salesPerDay = 300; // average sales per business day, all islands and the counter
    QDate lastDay;         // last business day; null means today
    // Numbers of an invoice range of either form, a multiple of 250; 0: about a day's
    // two-part invoices, and a few blocks of three-part ones.
    int invoiceRangeNumbers = 0;
};

// What was generated, for the command line's summary line.
struct DemoSummary {
    qint64 sales = 0;
    qint64 salesLines = 0;
    qint64 shifts = 0;
    qint64 rows = 0; // all rows of all tables
};

// Generates the whole station into `sink` (every table and column of the current trial
// schema, including set_system). Steps `progress` once per business day. The caller calls
// sink.finish() afterwards. Throws what the sink throws.
DemoSummary generateDemoStation(const DemoOptions& options, RowSink& sink, Progress& progress);
