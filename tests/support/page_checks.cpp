#include "support/page_checks.h"

#include "reports/common/text_fitting.h"

namespace {

// Letters of two texts touching by less than this are not painted over each other.
constexpr double tolerance = 0.05;

QString describe(const rpt::TextItem& t) {
    const QRectF r = rpt::paintedRect(t);
    return QStringLiteral("'%1' at %2–%3 mm, %4 mm down")
        .arg(t.text)
        .arg(r.left(), 0, 'f', 1)
        .arg(r.right(), 0, 'f', 1)
        .arg(r.top(), 0, 'f', 1);
}

} // namespace

QString overlappingTexts(const rpt::RenderedReport& report) {
    for (qsizetype p = 0; p < report.pages.size(); ++p) {
        const QList<rpt::TextItem>& texts = report.pages[p].texts;
        for (qsizetype i = 0; i < texts.size(); ++i)
            for (qsizetype j = i + 1; j < texts.size(); ++j) {
                const QRectF both =
                    rpt::paintedRect(texts[i]).intersected(rpt::paintedRect(texts[j]));
                if (both.width() > tolerance && both.height() > tolerance)
                    return QStringLiteral("page %1: %2 overlaps %3")
                        .arg(p + 1)
                        .arg(describe(texts[i]), describe(texts[j]));
            }
    }
    return {};
}

QString cutTexts(const rpt::RenderedReport& report) {
    for (qsizetype p = 0; p < report.pages.size(); ++p)
        for (const rpt::TextItem& t : report.pages[p].texts)
            if (t.clipped) return QStringLiteral("page %1: %2 was cut").arg(p + 1).arg(describe(t));
    return {};
}
