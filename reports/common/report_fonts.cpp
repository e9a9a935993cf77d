#include "reports/common/report_fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>

namespace {

constexpr double mmPerPixel = 25.4 / 96;
// Widths are measured at a large size, where no hinting rounds them, and scaled down.
constexpr int measuringPixels = 960;

} // namespace

void installReportFontSubstitutes() {
    const QString ming = QStringLiteral("AR PL UMing TW");
    for (const char* name : {"新細明體", "細明體", "PMingLiU", "MingLiU"})
        if (!QFontDatabase::hasFamily(QString::fromUtf8(name)))
            QFont::insertSubstitution(QString::fromUtf8(name), ming);
}

QFont reportFont(const QString& family, double pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(std::max(1, int(pixelSize + 0.5)));
    font.setBold(bold);
    font.setKerning(false); // a width measured once holds at every size
    return font;
}

double naturalWidthMm(const QString& text, const QString& family, int pixels, bool bold) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    static bool substitutes = (installReportFontSubstitutes(), true);
    (void)substitutes;
    static QHash<QString, double> cache;
    const QString key = family + QLatin1Char(bold ? 'B' : 'N') + QLatin1Char('\x1f') + text;
    auto found = cache.constFind(key);
    double perPixel = 0;
    if (found != cache.constEnd()) {
        perPixel = *found;
    } else {
        const QFontMetricsF metrics(reportFont(family, measuringPixels, bold));
        perPixel = metrics.horizontalAdvance(text) / measuringPixels;
        if (cache.size() > 100000) cache.clear();
        cache.insert(key, perPixel);
    }
    return perPixel * pixels * mmPerPixel;
}
