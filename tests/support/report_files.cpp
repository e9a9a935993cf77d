#include "support/report_files.h"

#include "reports/common/page_painter.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStringEncoder>
#include <algorithm>

namespace reportfiles {

QStringList lineOf(const rpt::PageItems& page, const QString& anchor) {
    double top = -1;
    for (const rpt::TextItem& t : page.texts)
        if (t.text == anchor) top = t.rect.top();
    QList<rpt::TextItem> items;
    for (const rpt::TextItem& t : page.texts)
        if (std::abs(t.rect.top() - top) < 0.5) items << t;
    std::sort(items.begin(), items.end(), [](const rpt::TextItem& a, const rpt::TextItem& b) {
        return a.rect.left() < b.rect.left();
    });
    QStringList texts;
    for (const rpt::TextItem& t : items)
        texts << t.text;
    return texts;
}

QList<QStringList> linesOf(const rpt::PageItems& page, double belowMm) {
    QMap<int, QList<const rpt::TextItem*>> byTop;
    for (const rpt::TextItem& t : page.texts)
        if (t.rect.top() > belowMm) byTop[qRound(t.rect.top() * 10)] << &t;
    QList<QStringList> lines;
    for (auto& items : byTop) {
        std::sort(items.begin(), items.end(),
                  [](auto* a, auto* b) { return a->rect.left() < b->rect.left(); });
        QStringList line;
        for (const rpt::TextItem* t : items)
            line << t->text;
        lines << line;
    }
    return lines;
}

void savePage(const rpt::RenderedReport& report, int index, const QString& name) {
    const QString folder = qEnvironmentVariable("TOLVAR_SCREENSHOTS", "screenshots");
    QDir().mkpath(folder);
    rpt::pageImage(report, index, 200 / 25.4).save(QDir(folder).filePath(name + ".png"));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QByteArray expectedSylk(const QList<int>& widths, const QStringList& titles,
                        const QList<QStringList>& rows, int textColumns) {
    QStringEncoder big5("windows-950");
    QByteArray f = "ID;PYSLK;N;E\r\n"
                   "P;FMS Sans Serif;M240\r\nP;FMS Sans Serif;M240\r\nP;FMS Sans Serif;M240\r\n"
                   "P;FMS Sans Serif;M240\r\nP;EMS Sans Serif;M240\r\nP;EMS Sans Serif;M180\r\n";
    for (int x = 1; x <= widths.size(); ++x)
        f += QStringLiteral("F;W%1 %1 %2\r\n").arg(x).arg(widths[x - 1]).toLatin1();
    for (int x = 1; x <= titles.size(); ++x)
        f += QStringLiteral("F;SDLRTBM0;FG0C;X%1;Y2\r\n").arg(x).toLatin1() +
             QStringLiteral("C;X%1;Y2;K\"").arg(x).toLatin1() + big5(titles[x - 1]) + "\"\r\n";
    int y = 2;
    for (const QStringList& row : rows) {
        ++y;
        for (int x = 1; x <= row.size(); ++x) {
            const bool text = x <= textColumns;
            f += QStringLiteral("F;SDLRTBM0;FG0%1;X%2;Y%3\r\n")
                     .arg(text ? 'L' : 'R')
                     .arg(x)
                     .arg(y)
                     .toLatin1();
            const QByteArray value = big5(row[x - 1]);
            f += QStringLiteral("C;X%1;Y%2;K").arg(x).arg(y).toLatin1() +
                 (text ? "\"" + value + "\"" : value) + "\r\n";
        }
    }
    return f + "E\r\n";
}

QString pdfText(const QString& path) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

Outcome runTolvar(const QString& folder, const QStringList& args) {
    testdb::writeConfig(
        folder, {"DBServerName=" + testdb::host(), "DBPort=" + QString::number(testdb::port())});
    QProcess tolvar;
    tolvar.setWorkingDirectory(folder);
    tolvar.start(qEnvironmentVariable("TOLVAR_EXE"), args);
    Outcome outcome;
    if (!tolvar.waitForFinished(120000)) {
        tolvar.kill();
        tolvar.waitForFinished();
        outcome.output = outcome.err = QStringLiteral("tolvar did not finish");
        return outcome;
    }
    outcome.status = tolvar.exitCode();
    outcome.out = QString::fromUtf8(tolvar.readAllStandardOutput());
    outcome.err = QString::fromUtf8(tolvar.readAllStandardError());
    outcome.output = outcome.out + outcome.err;
    return outcome;
}

} // namespace reportfiles
