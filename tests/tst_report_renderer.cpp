// The banded renderer on small layouts: which bands print where and on which page, the sums
// of group footers and summaries, handlers, and the painted page.
#include "db/connection.h"
#include "db/query.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_renderer.h"
#include "support/page_checks.h"
#include "support/test_database.h"

#include <QTest>

using namespace rpt;

namespace {

// The texts of a page, top to bottom, left to right.
QStringList texts(const PageItems& page) {
    QList<TextItem> items = page.texts;
    std::stable_sort(items.begin(), items.end(), [](const TextItem& a, const TextItem& b) {
        return a.rect.top() < b.rect.top() - 0.01 ||
               (std::abs(a.rect.top() - b.rect.top()) < 0.01 && a.rect.left() < b.rect.left());
    });
    QStringList list;
    for (const TextItem& t : items)
        list << t.text;
    return list;
}

const TextItem* find(const PageItems& page, const QString& text) {
    for (const TextItem& t : page.texts)
        if (t.text == text) return &t;
    return nullptr;
}

// A page 100 mm long with 10 mm margins: a 20 mm header and 10 mm rows.
Layout smallLayout() {
    Layout l;
    l.page.width = 100;
    l.page.length = 100;
    Band header = band("Title", BandKind::PageHeader, 20);
    header.controls << label("T", "TITLE", 0, 0, 50) << pageNumber("P", 0, 60, 20);
    Band detail = band("Detail", BandKind::Detail, 10);
    detail.controls << field("D", "item", 0, 0, 30)
                    << field("Q", "qty", 0, 40, 20, Align::Right, "0.00");
    Band summary = band("Summary", BandKind::Summary, 10);
    summary.controls << label("S", "TOTAL", 0, 0, 20) << sum("SQ", "qty", 0, 40, 20, "0.00");
    l.bands = {header, detail, summary};
    return l;
}

} // namespace

Q_DECLARE_METATYPE(QList<rpt::Control>)

class TestReportRenderer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void headerAndPageNumberOnEveryPage();
    void childBandFollowsItsParent();
    void groupsSumsAndNewPages_data();
    void groupsSumsAndNewPages();
    void emptyDataPrintsNothing();
    void handlersSetCaptionsAndHideBands();
    void pageFooterOnEveryPage();
    void subDetailOverASecondDataSet();
    void subDetailBetweenItsHeaderAndFooter();
    void paintedPageAndPdf();
    void textsWiderThanTheirBoxes_data();
    void textsWiderThanTheirBoxes();

private:
    void rows(Query& q, int count, const QString& keys = {});
    std::unique_ptr<Connection> cn_;
};

void TestReportRenderer::initTestCase() {
    testdb::recreate({}, false);
    cn_ = std::make_unique<Connection>();
    testdb::configure(*cn_);
}

// `count` rows (item, qty, grp), the groups taken in turn from the letters of `keys`.
void TestReportRenderer::rows(Query& q, int count, const QString& keys) {
    q.close();
    q.setSql(QStringLiteral("select 'I' || g as item, g * 1.5 as qty, substr(:MKeys, g, 1) as grp "
                            "from generate_series(1, %1) g order by g")
                 .arg(count));
    q.param("MKeys").setText(keys.isEmpty() ? QString(count, 'A') : keys);
    q.open();
}

void TestReportRenderer::headerAndPageNumberOnEveryPage() {
    Query q(*cn_);
    rows(q, 12);
    const RenderedReport r = render(smallLayout(), q);
    QVERIFY_NO_OVERLAP(r);
    // 80 mm of body: the header and six rows on a page; twelve rows and the summary: 3 pages.
    QCOMPARE(r.pages.size(), 3);
    for (int p = 0; p < 3; ++p) {
        const QStringList t = texts(r.pages[p]);
        QCOMPARE(t.value(0), QString("TITLE"));
        QCOMPARE(t.value(1), QString::number(p + 1));
    }
    QCOMPARE(texts(r.pages[0]).mid(2, 2), QStringList({"I1", "1.50"}));
    QCOMPARE(texts(r.pages[2]), QStringList({"TITLE", "3", "TOTAL", "117.00"}));
    QCOMPARE(r.paper, QSizeF(100, 100));
    const TextItem* first = find(r.pages[0], "I1");
    QCOMPARE(first->rect.topLeft(), QPointF(10, 30)); // margins, then the 20 mm header
}

void TestReportRenderer::childBandFollowsItsParent() {
    Query q(*cn_);
    rows(q, 8);
    Layout l = smallLayout();
    Band child = band("Headings", BandKind::Child, 5);
    child.parent = "Title";
    child.controls << label("H", "ITEM", 0, 0, 20);
    l.bands.insert(1, child);
    const RenderedReport r = render(l, q);
    QVERIFY_NO_OVERLAP(r);
    for (const PageItems& page : r.pages) {
        const TextItem* heading = find(page, "ITEM");
        QVERIFY(heading);
        QCOMPARE(heading->rect.top(), 30.0); // right under the title band
    }
    QCOMPARE(find(r.pages[0], "I1")->rect.top(), 35.0);
}

void TestReportRenderer::groupsSumsAndNewPages_data() {
    QTest::addColumn<bool>("newPage");
    QTest::addColumn<int>("pages");
    QTest::newRow("groups run on") << false << 2;
    QTest::newRow("each group on a new page, totals on their own") << true << 4;
}

void TestReportRenderer::groupsSumsAndNewPages() {
    QFETCH(bool, newPage);
    QFETCH(int, pages);
    Query q(*cn_);
    rows(q, 5, "AABBC");
    Layout l = smallLayout();
    Band group = band("Group", BandKind::GroupHeader, 0);
    group.expression = "grp";
    group.footer = "Footer";
    group.forceNewPage = newPage;
    Band footer = band("Footer", BandKind::GroupFooter, 10);
    footer.controls << sum("GQ", "qty", 0, 40, 20, "0.00");
    l.bands.insert(1, group);
    l.bands.insert(3, footer);
    l.bands.last().forceNewPage = newPage;
    const RenderedReport r = render(l, q);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(r.pages.size(), pages);
    QStringList all;
    for (const PageItems& p : r.pages)
        all << texts(p).mid(2);
    // Sums restart after every group footer; the summary adds up every row.
    QCOMPARE(all, QStringList({"I1", "1.50", "I2", "3.00", "4.50", "I3", "4.50", "I4", "6.00",
                               "10.50", "I5", "7.50", "7.50", "TOTAL", "22.50"}));
    if (newPage) {
        QCOMPARE(texts(r.pages[1]).mid(2, 1), QStringList({"I3"}));
        QCOMPARE(texts(r.pages[3]).mid(2), QStringList({"TOTAL", "22.50"}));
    }
}

void TestReportRenderer::emptyDataPrintsNothing() {
    Query q(*cn_);
    rows(q, 0);
    bool started = false;
    Layout l = smallLayout();
    l.beforeStart = [&](ReportRun&) { started = true; };
    QVERIFY(render(l, q).pages.isEmpty());
    QVERIFY(started);
}

void TestReportRenderer::handlersSetCaptionsAndHideBands() {
    Query q(*cn_);
    rows(q, 4);
    Layout l = smallLayout();
    auto total = std::make_shared<double>(0);
    l.bands[0].beforePrint = [](ReportRun& run) {
        run.setCaption("T", QStringLiteral("許厝港加油站"));
        return true;
    };
    l.bands[1].beforePrint = [](ReportRun& run) { return run.field("item").toText() != "I2"; };
    l.bands[1].afterPrint = [total](ReportRun& run) { *total += run.number("qty"); };
    l.bands[2].beforePrint = [total](ReportRun& run) {
        run.setCaption("S", QString::number(*total));
        return true;
    };
    const RenderedReport r = render(l, q);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(texts(r.pages[0]), QStringList({QStringLiteral("許厝港加油站"), "1", "I1", "1.50",
                                             "I3", "4.50", "I4", "6.00", "12", "15.00"}));
}

void TestReportRenderer::pageFooterOnEveryPage() {
    Query q(*cn_);
    rows(q, 10);
    Layout l = smallLayout();
    Band footer = band("PageFooter", BandKind::PageFooter, 10);
    footer.controls << pageNumber("FP", 0, 0, 20, Align::Left);
    l.bands << footer;
    const RenderedReport r = render(l, q);
    QVERIFY_NO_OVERLAP(r);
    // 70 mm for rows above the footer: five rows a page.
    QCOMPARE(r.pages.size(), 3);
    for (int p = 0; p < r.pages.size(); ++p) {
        const QStringList t = texts(r.pages[p]);
        QCOMPARE(t.last(), QString::number(p + 1));
        const TextItem* pageNo = nullptr;
        for (const TextItem& item : r.pages[p].texts)
            if (item.rect.top() >= 80) pageNo = &item;
        QVERIFY(pageNo);
        QCOMPARE(pageNo->rect.top(), 80.0); // 100 - 10 margin - 10 footer
    }
}

void TestReportRenderer::subDetailOverASecondDataSet() {
    Query master(*cn_);
    rows(master, 2);
    Query lines(*cn_);
    lines.setSql("select 'L' || g as item from generate_series(1, 2) g order by g");
    lines.open();
    Layout l = smallLayout();
    Band sub = band("Sub", BandKind::SubDetail, 10);
    sub.controls << field("SD", "item", 0, 10, 20);
    l.bands.insert(2, sub);
    const RenderedReport r = render(l, master, &lines);
    QVERIFY_NO_OVERLAP(r);
    QCOMPARE(texts(r.pages[0]).mid(2, 8),
             QStringList({"I1", "1.50", "L1", "L2", "I2", "3.00", "L1", "L2"}));
}

// A sub-detail enabled for the last row only: its header (on a new page when asked), its rows,
// even none, and its footer; the header starts no group of the detail rows.
void TestReportRenderer::subDetailBetweenItsHeaderAndFooter() {
    Query master(*cn_);
    rows(master, 2);
    Query lines(*cn_);
    for (int count : {2, 0}) {
        lines.close();
        lines.setSql(
            QString("select 'L' || g as item from generate_series(1, %1) g order by g").arg(count));
        lines.open();
        Layout l = smallLayout();
        Band header = band("SubHeader", BandKind::GroupHeader, 10);
        header.controls << label("H", "TOTALS", 0, 0, 20);
        header.forceNewPage = true;
        Band footer = band("SubFooter", BandKind::GroupFooter, 10);
        footer.controls << label("F", "END", 0, 0, 20);
        Band sub = band("Sub", BandKind::SubDetail, 10);
        sub.header = header.name;
        sub.footer = footer.name;
        sub.controls << field("SD", "item", 0, 10, 20);
        l.bands.removeLast(); // no summary
        l.bands << header << sub << footer;
        l.beforeStart = [](ReportRun& run) { run.band("Sub").enabled = false; };
        l.bands[1].afterPrint = [](ReportRun& run) {
            run.band("Sub").enabled = run.field("item").toText() == "I2";
        };
        const RenderedReport r = render(l, master, &lines);
        QCOMPARE(r.pages.size(), 2);
        QCOMPARE(texts(r.pages[0]), QStringList({"TITLE", "1", "I1", "1.50", "I2", "3.00"}));
        QStringList second{"TITLE", "2", "TOTALS"};
        for (int i = 1; i <= count; ++i)
            second << QString("L%1").arg(i);
        QCOMPARE(texts(r.pages[1]), second << "END");
    }
}

void TestReportRenderer::paintedPageAndPdf() {
    Query q(*cn_);
    rows(q, 3);
    const RenderedReport r = render(smallLayout(), q);
    QVERIFY_NO_OVERLAP(r);
    const QImage image = pageImage(r, 0, 4);
    QCOMPARE(image.size(), QSize(400, 400));
    // Ink where the first row's text lies, none in the right margin.
    auto inked = [&](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(image.pixel(x, y)) < 128) return true;
        return false;
    };
    QVERIFY(inked(QRect(40, 120, 40, 16)));
    QVERIFY(!inked(QRect(370, 0, 30, 400)));
    const QString path = QDir::temp().filePath("tolvar_renderer.pdf");
    writePdf(r, path);
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
}

// A text wider than its box: drawn whole into empty space beside it, condensed where it would
// reach another text or a rule, cut only where condensing would make it unreadable; widths
// measured with the font the page is painted with.
void TestReportRenderer::textsWiderThanTheirBoxes_data() {
    QTest::addColumn<QList<Control>>("controls"); // the first is the one looked at
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("fit"); // "natural", "condensed", "cut" or "whole" (fits its box)
    const QString date = "2024/01/15 06:21:55";
    QTest::newRow("a caption grows to the right")
        << QList<Control>{label("A", QStringLiteral("海湖砂石實業有限公司"), 0, 0, 10, Align::Left,
                                13)}
        << QStringLiteral("海湖砂石實業有限公司") << "natural";
    QTest::newRow("a right-aligned figure grows to the left")
        << QList<Control>{label("A", "$1,234,567", 0, 50, 9.8, Align::Right, 13),
                          label("B", "X", 0, 0, 5)}
        << "$1,234,567"
        << "natural";
    QTest::newRow("a centred title grows both ways")
        << QList<Control>{label("A", QStringLiteral("簽帳客戶明細表簽帳客戶明細表"), 0, 30, 10,
                                Align::Centre)}
        << QStringLiteral("簽帳客戶明細表簽帳客戶明細表") << "natural";
    QTest::newRow("a date and time keeps its seconds beside the next column")
        << QList<Control>{field("A", "stamp", 0, 0, 32.3), field("B", "item", 0, 32.4, 20)} << date
        << "condensed";
    QTest::newRow("a name stops at the next column, condensed")
        << QList<Control>{label("A", QStringLiteral("海湖砂石實業有限公司"), 0, 0, 29.4,
                                Align::Left, 13),
                          field("B", "item", 0, 31.5, 20)}
        << QStringLiteral("海湖砂石實業有限公司") << "condensed";
    QTest::newRow("cut where condensing would be unreadable")
        << QList<Control>{label("A", QStringLiteral("海湖砂石實業有限公司"), 0, 0, 10, Align::Left,
                                13),
                          field("B", "item", 0, 10.5, 20)}
        << QStringLiteral("海湖砂石") << "cut";
    QTest::newRow("a vertical rule stops it")
        << QList<Control>{label("A", QStringLiteral("海湖砂石實業有限公司"), 1, 1, 29.4,
                                Align::Left, 13),
                          box("R", 0, 0, 31, 6)}
        << QStringLiteral("海湖砂石實業有限公司") << "condensed";
    QTest::newRow("a page header's caption before the page number")
        << QList<Control>{label("A", QStringLiteral("頁        次 :"), 0, 0, 19.3),
                          pageNumber("B", 0, 18.8, 13.0, Align::Right, 16)}
        << QStringLiteral("頁        次 :") << "condensed";
    QTest::newRow("a right-aligned figure ending just short of a rule keeps its digits")
        << QList<Control>{label("A", "$800", 0, 50, 16.4, Align::Right, 13),
                          verticalLine("R", 0, 66.9, 6), verticalLine("L", 0, 48, 6)}
        << "$800"
        << "whole";
    QTest::newRow("a right-aligned figure ending on a frame keeps its digits")
        << QList<Control>{label("A", "43.15%", 0, 58.9, 7.9, Align::Right, 13),
                          box("R", 0, 0, 66.8, 6)}
        << "43.15%"
        << "whole";
    QTest::newRow("a left-aligned caption starting on a rule keeps its letters")
        << QList<Control>{label("A", QStringLiteral("主產品收入"), 0, 20, 30, Align::Left, 13),
                          verticalLine("L", 0, 20, 6)}
        << QStringLiteral("主產品收入") << "whole";
}

void TestReportRenderer::textsWiderThanTheirBoxes() {
    QFETCH(QList<Control>, controls);
    QFETCH(QString, shown);
    QFETCH(QString, fit);
    Query q(*cn_);
    q.setSql("select 'I1' as item, '2024/01/15 06:21:55' as stamp");
    q.open();
    Layout l;
    l.page.width = 100;
    l.page.length = 100;
    Band detail = band("Detail", BandKind::Detail, 10);
    detail.controls = controls;
    l.bands = {detail};
    const RenderedReport r = render(l, q);
    QVERIFY_NO_OVERLAP(r);
    const TextItem& t = r.pages[0].texts[0];
    QCOMPARE(t.text, shown);
    const double box = 10 + controls[0].left;
    if (fit == "natural") {
        QCOMPARE(t.stretch, 1.0);
        QVERIFY(t.painted.width() > controls[0].width);
    } else if (fit == "whole") {
        QCOMPARE(t.stretch, 1.0);
        QVERIFY(!t.clipped);
    } else if (fit == "condensed") {
        QVERIFY2(t.stretch < 1 && t.stretch >= 0.6, qPrintable(QString::number(t.stretch)));
        QVERIFY(!t.clipped);
        QCOMPARE(t.painted.left(), box);
    } else {
        QVERIFY(t.clipped);
        QCOMPARE(t.stretch, 0.6);
    }
    // Painted, the text lies where the page says: ink inside its extent, none beyond.
    const QImage image = pageImage(r, 0, 8);
    const QRectF at = t.painted;
    auto inked = [&](double from, double to) {
        const int top = int(at.top() * 8) + 1, bottom = int(at.bottom() * 8) - 1;
        for (int y = top; y <= bottom; ++y)
            for (int x = int(from * 8); x < int(to * 8); ++x)
                if (qGray(image.pixel(x, y)) < 160) return true;
        return false;
    };
    QVERIFY(inked(at.left(), at.right()));
    if (controls.size() == 1) QVERIFY(!inked(at.right() + 0.5, 95));
}

QTEST_MAIN(TestReportRenderer)
#include "tst_report_renderer.moc"
