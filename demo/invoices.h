// The demo station's invoice numbers: two-month periods, a new track (two letters) for every
// period and form, and ranges of whole 250-number blocks written to inv_range as they are
// taken into use, so the last range of a period is left partly blank.
#pragma once

#include "demo/random.h"
#include "demo/table.h"

#include <QDate>
#include <QStringList>
#include <array>

class DemoInvoiceBook {
public:
    // Ranges of the two-part form hold `twoPartBlocks` blocks, of the three-part form
    // `threePartBlocks`. inv_range rows go to `sink` and add to `rowCount`.
    DemoInvoiceBook(RowSink& sink, DemoRandom& rng, int twoPartBlocks, int threePartBlocks,
                    qint64& rowCount);

    // The next invoice number of `form` (2 or 3) for a sale on the calendar day `day`. Numbers
    // are handed out in call order, each once. Throws what the sink throws.
    QString issue(QDate day, int form);

private:
    struct Track {
        int period = -1; // year * 6 + two-month period of the year
        QString letters;
        QString periodCode; // inv_date: ROC year and the period's last month
        qint64 next = 0;    // next number of the current range
        qint64 rangeEnd = -1;
    };

    void openTrack(Track& track, int period, QDate day, int form);
    void fileRange(const Track& track, int form, qint64 first, int blocks, bool voided);

    DemoRandom& rng_;
    std::array<int, 2> blocks_;
    std::array<Track, 2> tracks_;
    QStringList letterPairs_; // unused tracks, in the order they are given out
    int nextPair_ = 0;
    DemoTable ranges_;
};
