#include "demo/invoices.h"

#include "demo/format.h"

namespace {

constexpr qint64 blockSize = 250;

QString invoiceNumber(const QString& letters, qint64 number) {
    QString text = letters + QStringLiteral("00000000");
    for (int i = 9; i >= 2; --i, number /= 10)
        text[i] = QChar(char16_t(u'0' + number % 10));
    return text;
}

} // namespace

DemoInvoiceBook::DemoInvoiceBook(RowSink& sink, DemoRandom& rng, int twoPartBlocks,
                                 int threePartBlocks, qint64& rowCount)
    : rng_(rng), blocks_{twoPartBlocks, threePartBlocks},
      ranges_(sink, QStringLiteral("inv_range"),
              {"inv_date", "inv_start", "inv_end", "code", "void"}, rowCount) {
    for (char16_t a = u'A'; a <= u'Z'; ++a)
        for (char16_t b = u'A'; b <= u'Z'; ++b)
            letterPairs_.append(QString(QChar(a)) + QChar(b));
    for (qsizetype i = letterPairs_.size() - 1; i > 0; --i)
        letterPairs_.swapItemsAt(i, rng_.below(i + 1));
}

QString DemoInvoiceBook::issue(QDate day, int form) {
    Track& track = tracks_[form == 3 ? 1 : 0];
    const int period = day.year() * 6 + (day.month() - 1) / 2;
    if (track.period != period) openTrack(track, period, day, form);
    if (track.next > track.rangeEnd) {
        fileRange(track, form, track.next, blocks_[form == 3 ? 1 : 0], false);
        track.rangeEnd = track.next + blocks_[form == 3 ? 1 : 0] * blockSize - 1;
    }
    return invoiceNumber(track.letters, track.next++);
}

void DemoInvoiceBook::openTrack(Track& track, int period, QDate day, int form) {
    track.period = period;
    track.letters = letterPairs_[nextPair_++ % letterPairs_.size()];
    track.periodCode = demo::rocMonthCode(day.year(), (day.month() - 1) / 2 * 2 + 2);
    track.next = rng_.between(0, 200000) * blockSize;
    track.rangeEnd = track.next - 1;
    // Now and then a roll is spoilt: its range is filed voided and never used.
    if (rng_.chance(1, 4)) {
        fileRange(track, form, track.next, 1, true);
        track.next += blockSize;
        track.rangeEnd = track.next - 1;
    }
}

void DemoInvoiceBook::fileRange(const Track& track, int form, qint64 first, int blocks,
                                bool voided) {
    ranges_[0] = track.periodCode;
    ranges_[1] = invoiceNumber(track.letters, first);
    ranges_[2] = invoiceNumber(track.letters, first + blocks * blockSize - 1);
    ranges_[3] = QString::number(form);
    ranges_[4] = voided ? QStringLiteral("1") : QStringLiteral("0");
    ranges_.write();
}
