// The record navigator bar over a query of company rows: the places of its buttons, what
// each button does to the rows and the table, when buttons are enabled, the delete question,
// a refused save, and the bar laid out right to left.
#include "app/gui_start.h"
#include "db/connection.h"
#include "db/data_source.h"
#include "db/query.h"
#include "screens/common/db_navigator.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include <QAbstractButton>
#include <QMetaEnum>
#include <QPainter>
#include <QTest>

using Nav = TBiDiDBNavigator;

namespace {

const QString allRows = QStringLiteral("A01:Alpha,B02:Bravo,C03:");

Nav::Buttons buttonSet(const QList<int>& list) {
    Nav::Buttons set;
    for (int b : list)
        set.insert(Nav::NavigateBtn(b));
    return set;
}

QList<int> everyButton() {
    QList<int> list;
    for (int i = 0; i < Nav::ButtonCount; ++i)
        list << i;
    return list;
}

const char* buttonName(int b) {
    return QMetaEnum::fromType<Nav::NavigateBtn>().key(b);
}

// Pixels of two pictures of the same size whose opacity differs noticeably.
int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += std::abs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y))) > 64;
    return count;
}

} // namespace

class TestDbNavigator : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void layout_data();
    void layout();
    void moves_data();
    void moves();
    void editAndInsert_data();
    void editAndInsert();
    void refreshRereads();
    void deleteRow_data();
    void deleteRow();
    void failedPostStaysInEditing_data();
    void failedPostStaysInEditing();
    void hiddenButtonsDoNothing_data();
    void hiddenButtonsDoNothing();
    void enabledStates_data();
    void enabledStates();
    void rightToLeft_data();
    void rightToLeft();
    void exchangedArrowsPointTheOtherWay();
    void glyphReplacement_data();
    void glyphReplacement();

private:
    void click(Nav::NavigateBtn b) { QTest::mouseClick(nav->button(b), Qt::LeftButton); }
    QString tableRows() const;
    QString snapshot() const;

    std::unique_ptr<Connection> cn;
    std::unique_ptr<Query> q;
    std::unique_ptr<DataSource> ds;
    std::unique_ptr<QWidget> window;
    Nav* nav = nullptr;
};

void TestDbNavigator::initTestCase() {
    setUpChineseFonts();
}

void TestDbNavigator::init() {
    testdb::recreate();
    cn = std::make_unique<Connection>();
    testdb::configure(*cn);
    cn->exec("insert into cust_unit (cust_id, unit_name) values "
             "('A01', 'Alpha'), ('B02', 'Bravo'), ('C03', null)");
    q = std::make_unique<Query>(*cn);
    q->setSql("select * from cust_unit order by cust_id");
    q->open();
    ds = std::make_unique<DataSource>(q.get());
    window = std::make_unique<QWidget>();
    window->resize(420, 45);
    nav = new Nav(window.get());
    nav->setGeometry(10, 10, 400, 25);
    nav->setDataSource(ds.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestDbNavigator::cleanup() {
    window.reset();
    ds.reset();
    q.reset();
    cn.reset();
}

QString TestDbNavigator::tableRows() const {
    return testdb::adminValue("select string_agg(cust_id || ':' || coalesce(unit_name, ''), ',' "
                              "order by cust_id) from cust_unit");
}

// What a click could change: the query's state, position, rows and the table.
QString TestDbNavigator::snapshot() const {
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(int(q->state()))
        .arg(q->recNo())
        .arg(q->recordCount())
        .arg(q->field("unit_name").asText(), tableRows());
}

void TestDbNavigator::layout_data() {
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("rightToLeft");
    const QList<int> browse{Nav::nbFirst, Nav::nbPrior, Nav::nbNext, Nav::nbLast, Nav::nbDelete};
    QTest::newRow("all ten, width divides") << everyButton() << 400 << false;
    QTest::newRow("all ten, 3 pixels over") << everyButton() << 403 << false;
    QTest::newRow("browse set, 2 pixels over") << browse << 402 << false;
    QTest::newRow("Post and Cancel") << QList<int>{Nav::nbPost, Nav::nbCancel} << 401 << false;
    QTest::newRow("Refresh alone") << QList<int>{Nav::nbRefresh} << 400 << false;
    QTest::newRow("all ten right to left") << everyButton() << 403 << true;
    QTest::newRow("browse set right to left") << browse << 402 << true;
}

void TestDbNavigator::layout() {
    QFETCH(QList<int>, shown);
    QFETCH(int, width);
    QFETCH(bool, rightToLeft);
    nav->setVisibleButtons(buttonSet(shown));
    nav->resize(width, 25);
    if (rightToLeft) nav->setLayoutDirection(Qt::RightToLeft);

    QList<int> visible;
    for (int i = 0; i < Nav::ButtonCount; ++i)
        if (nav->button(Nav::NavigateBtn(i))->isVisible()) visible << i;
    QCOMPARE(visible, shown);

    // Left to right in button order (mirrored right to left), edge to edge across the bar.
    QList<QRect> places;
    for (int b : shown)
        places << nav->button(Nav::NavigateBtn(b))->geometry();
    if (rightToLeft) std::reverse(places.begin(), places.end());
    int x = 0, narrowest = width, widest = 0;
    for (const QRect& r : places) {
        QCOMPARE(r.x(), x);
        QCOMPARE(r.y(), 0);
        QCOMPARE(r.height(), 25);
        x += r.width();
        narrowest = std::min(narrowest, r.width());
        widest = std::max(widest, r.width());
    }
    QCOMPARE(x, width);
    QVERIFY2(widest - narrowest <= 1, qPrintable(QString("%1..%2").arg(narrowest).arg(widest)));
}

void TestDbNavigator::moves_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("current");
    QTest::newRow("Next") << QList<int>{Nav::nbNext} << "B02";
    QTest::newRow("Last") << QList<int>{Nav::nbLast} << "C03";
    QTest::newRow("Last, Prior") << QList<int>{Nav::nbLast, Nav::nbPrior} << "B02";
    QTest::newRow("Last, First") << QList<int>{Nav::nbLast, Nav::nbFirst} << "A01";
    QTest::newRow("Prior on the first row") << QList<int>{Nav::nbPrior} << "A01";
    QTest::newRow("Next past the last row")
        << QList<int>{Nav::nbNext, Nav::nbNext, Nav::nbNext, Nav::nbNext} << "C03";
}

void TestDbNavigator::moves() {
    QFETCH(QList<int>, clicks);
    QFETCH(QString, current);
    for (int b : clicks)
        click(Nav::NavigateBtn(b));
    QCOMPARE(q->field("cust_id").asText(), current);
    QCOMPARE(q->state(), QueryState::Browse);
}

void TestDbNavigator::editAndInsert_data() {
    QTest::addColumn<int>("begin");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("table");
    // On row B02 the code is typed as B01 and the name as "typed".
    QTest::newRow("Edit, Post") << int(Nav::nbEdit) << int(Nav::nbPost) << "B01" << 3
                                << "A01:Alpha,B01:typed,C03:";
    QTest::newRow("Edit, Cancel") << int(Nav::nbEdit) << int(Nav::nbCancel) << "B02" << 3
                                  << allRows;
    QTest::newRow("Insert, Post") << int(Nav::nbInsert) << int(Nav::nbPost) << "B01" << 4
                                  << "A01:Alpha,B01:typed,B02:Bravo,C03:";
    QTest::newRow("Insert, Cancel")
        << int(Nav::nbInsert) << int(Nav::nbCancel) << "B02" << 3 << allRows;
}

void TestDbNavigator::editAndInsert() {
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(QString, current);
    QFETCH(int, count);
    QFETCH(QString, table);
    click(Nav::nbNext);
    click(Nav::NavigateBtn(begin));
    QCOMPARE(q->state(), begin == Nav::nbEdit ? QueryState::Edit : QueryState::Insert);
    q->field("cust_id").setText("B01");
    q->field("unit_name").setText("typed");
    QCOMPARE(tableRows(), allRows); // nothing written before Post
    click(Nav::NavigateBtn(end));
    QCOMPARE(q->state(), QueryState::Browse);
    QCOMPARE(q->field("cust_id").asText(), current);
    QCOMPARE(q->recordCount(), count);
    QCOMPARE(tableRows(), table);
}

void TestDbNavigator::refreshRereads() {
    click(Nav::nbNext);
    testdb::admin("insert into cust_unit (cust_id) values ('D04')", "pos_data");
    QCOMPARE(q->recordCount(), 3);
    click(Nav::nbRefresh);
    QCOMPARE(q->recordCount(), 4);
    QCOMPARE(q->field("cust_id").asText(), QString("B02"));
}

void TestDbNavigator::deleteRow_data() {
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("table");
    QTest::newRow("question, OK deletes")
        << true << int(QMessageBox::Ok) << true << "A01:Alpha,C03:";
    QTest::newRow("question, Cancel keeps the row")
        << true << int(QMessageBox::Cancel) << true << allRows;
    QTest::newRow("ConfirmDelete off: no question")
        << false << int(QMessageBox::Cancel) << false << "A01:Alpha,C03:";
}

void TestDbNavigator::deleteRow() {
    QFETCH(bool, confirm);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(QString, table);
    QVERIFY(nav->confirmDelete()); // on unless turned off
    nav->setConfirmDelete(confirm);
    click(Nav::nbNext);
    QString seen;
    bool questionBox = false;
    gui::answerNextDialog(
        [&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            if (!box) return;
            questionBox = box->icon() == QMessageBox::Question &&
                          box->standardButtons() == (QMessageBox::Ok | QMessageBox::Cancel);
            if (QAbstractButton* b = box->button(QMessageBox::StandardButton(answer))) b->click();
        },
        &seen, asked ? 5000 : 300);
    click(Nav::nbDelete);
    if (!asked) QTest::qWait(400); // the watch for a box that should not come runs out
    QCOMPARE(seen, asked ? QString::fromUtf8("刪除此筆資料？") : QString());
    QCOMPARE(questionBox, asked);
    QCOMPARE(tableRows(), table);
    QCOMPARE(q->recordCount(), int(table.count(',')) + 1);
    QCOMPARE(q->state(), QueryState::Browse);
}

void TestDbNavigator::failedPostStaysInEditing_data() {
    QTest::addColumn<int>("begin");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("new row with a code in use") << int(Nav::nbInsert) << "A01"
                                                << "duplicate key";
    QTest::newRow("new row without a code") << int(Nav::nbInsert) << QString() << "null value";
    QTest::newRow("row changed to a code in use") << int(Nav::nbEdit) << "A01"
                                                  << "duplicate key";
}

void TestDbNavigator::failedPostStaysInEditing() {
    QFETCH(int, begin);
    QFETCH(QString, code);
    QFETCH(QString, message);
    click(Nav::nbNext);
    click(Nav::NavigateBtn(begin));
    if (!code.isNull()) q->field("cust_id").setText(code);
    q->field("unit_name").setText("typed");
    QString seen;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    gui::answerNextDialog(
        [&](QWidget* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                icon = box->icon();
                box->accept();
            }
        },
        &seen);
    click(Nav::nbPost);
    QCOMPARE(icon, QMessageBox::Critical);
    QVERIFY2(seen.contains(message), qPrintable(seen));
    QCOMPARE(q->state(), begin == Nav::nbEdit ? QueryState::Edit : QueryState::Insert);
    QCOMPARE(q->field("unit_name").asText(), QString("typed"));
    QVERIFY(nav->button(Nav::nbPost)->isEnabled());
    QVERIFY(nav->button(Nav::nbCancel)->isEnabled());
    QVERIFY(!nav->button(Nav::nbNext)->isEnabled());
    QCOMPARE(tableRows(), allRows);
    click(Nav::nbCancel);
    QCOMPARE(q->state(), QueryState::Browse);
    QCOMPARE(q->recordCount(), 3);
}

void TestDbNavigator::hiddenButtonsDoNothing_data() {
    QTest::addColumn<int>("button");
    for (int b : everyButton())
        QTest::newRow(buttonName(b)) << b;
}

void TestDbNavigator::hiddenButtonsDoNothing() {
    QFETCH(int, button);
    const auto b = Nav::NavigateBtn(button);
    // A state in which the button would act: a middle row, a row only Refresh would fetch,
    // and for Post and Cancel a pending change.
    nav->setConfirmDelete(false);
    testdb::admin("insert into cust_unit (cust_id) values ('D04')", "pos_data");
    q->moveTo(1);
    if (b == Nav::nbPost || b == Nav::nbCancel) {
        q->edit();
        q->field("unit_name").setText("typed");
    }
    Nav::Buttons others = Nav::Buttons::all();
    others.remove(b);
    nav->setVisibleButtons(others);
    QVERIFY(!nav->button(b)->isVisible());
    const QString before = snapshot();
    nav->BtnClick(b);
    QCOMPARE(snapshot(), before);

    nav->setVisibleButtons(Nav::Buttons::all());
    if (b == Nav::nbDelete) // a question despite ConfirmDelete off must not hang the run
        gui::answerNextDialog([](QWidget* box) { box->close(); }, nullptr, 300);
    nav->BtnClick(b);
    QVERIFY(snapshot() != before); // shown, the same click acts
}

void TestDbNavigator::enabledStates_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("then");
    QTest::addColumn<QList<int>>("enabled");
    using L = QList<int>;
    const L none;
    const L moveOn{Nav::nbNext,   Nav::nbLast, Nav::nbInsert,
                   Nav::nbDelete, Nav::nbEdit, Nav::nbRefresh};
    const L moveBack{Nav::nbFirst,  Nav::nbPrior, Nav::nbInsert,
                     Nav::nbDelete, Nav::nbEdit,  Nav::nbRefresh};
    const L browse{Nav::nbFirst,  Nav::nbPrior,  Nav::nbNext, Nav::nbLast,
                   Nav::nbInsert, Nav::nbDelete, Nav::nbEdit, Nav::nbRefresh};
    const L editing{Nav::nbPost, Nav::nbCancel};
    QTest::newRow("just opened") << L{} << "" << moveOn;
    QTest::newRow("First") << L{Nav::nbFirst} << "" << moveOn;
    QTest::newRow("middle row") << L{Nav::nbNext} << "" << browse;
    QTest::newRow("Last") << L{Nav::nbLast} << "" << moveBack;
    QTest::newRow("Next onto the last row") << L{Nav::nbNext, Nav::nbNext} << "" << browse;
    QTest::newRow("Next against the end")
        << L{Nav::nbNext, Nav::nbNext, Nav::nbNext} << "" << moveBack;
    QTest::newRow("Prior against the start")
        << L{Nav::nbNext, Nav::nbPrior, Nav::nbPrior} << "" << moveOn;
    QTest::newRow("Edit") << L{Nav::nbEdit} << "" << editing;
    QTest::newRow("Insert") << L{Nav::nbInsert} << "" << editing;
    QTest::newRow("Insert, Cancel") << L{Nav::nbInsert, Nav::nbCancel} << "" << browse;
    QTest::newRow("moved to the end by the screen") << L{Nav::nbNext} << "last" << moveBack;
    QTest::newRow("walked past the end by the screen") << L{} << "walk" << moveBack;
    QTest::newRow("editing begun by the screen") << L{} << "edit" << editing;
    QTest::newRow("empty result") << L{} << "empty" << L{Nav::nbInsert, Nav::nbRefresh};
    QTest::newRow("query closed") << L{Nav::nbNext} << "close" << none;
    QTest::newRow("no data source") << L{} << "unbind" << none;
    QTest::newRow("source switched to a closed query") << L{} << "switch" << none;
    QTest::newRow("query destroyed") << L{} << "destroy query" << none;
    QTest::newRow("data source destroyed") << L{} << "destroy source" << none;
}

void TestDbNavigator::enabledStates() {
    QFETCH(QList<int>, clicks);
    QFETCH(QString, then);
    QFETCH(QList<int>, enabled);
    for (int b : clicks)
        click(Nav::NavigateBtn(b));
    Query closed(*cn);
    if (then == "last") q->last();
    if (then == "walk")
        for (int i = 0; i < 3; ++i)
            q->next();
    if (then == "edit") q->edit();
    if (then == "empty") {
        q->setSql("select * from cust_unit where cust_id = 'none'");
        q->open();
    }
    if (then == "close") q->close();
    if (then == "unbind") nav->setDataSource(nullptr);
    if (then == "switch") ds->setDataSet(&closed);
    if (then == "destroy query") q.reset();
    if (then == "destroy source") ds.reset();
    QList<int> actual;
    for (int i = 0; i < Nav::ButtonCount; ++i)
        if (nav->button(Nav::NavigateBtn(i))->isEnabled()) actual << i;
    QCOMPARE(actual, enabled);
    if (then == "destroy query") nav->BtnClick(Nav::nbNext); // no query left: nothing to do
    if (then == "switch") ds->setDataSet(nullptr);
}

void TestDbNavigator::rightToLeft_data() {
    QTest::addColumn<bool>("onWindow");
    QTest::newRow("set on the bar") << false;
    QTest::newRow("taken from the window") << true;
}

void TestDbNavigator::rightToLeft() {
    QFETCH(bool, onWindow);
    QWidget* owner = onWindow ? window.get() : nav;
    click(Nav::nbNext);
    QList<QRect> places;
    QList<qint64> pictures;
    for (int i = 0; i < Nav::ButtonCount; ++i) {
        QAbstractButton* b = nav->button(Nav::NavigateBtn(i));
        places << b->geometry();
        pictures << nav->glyph(i).cacheKey();
        QCOMPARE(b->icon().cacheKey(), pictures[i]);
    }
    if (!onWindow) gui::saveScreenshot(nav, "db_navigator");

    owner->setLayoutDirection(Qt::RightToLeft);
    QCOMPARE(nav->layoutDirection(), Qt::RightToLeft);
    // First shows Last's picture and so on; the other six keep their own.
    const int shows[Nav::ButtonCount] = {
        Nav::nbLast, Nav::nbNext, Nav::nbPrior, Nav::nbFirst, 4, 5, 6, 7, 8, 9};
    for (int i = 0; i < Nav::ButtonCount; ++i) {
        QAbstractButton* b = nav->button(Nav::NavigateBtn(i));
        const QRect& ltr = places[i];
        QCOMPARE(b->geometry(),
                 QRect(nav->width() - ltr.x() - ltr.width(), ltr.y(), ltr.width(), ltr.height()));
        QCOMPARE(b->icon().cacheKey(), pictures[shows[i]]);
        QCOMPARE(nav->glyph(i).cacheKey(), pictures[i]);
    }
    if (!onWindow) gui::saveScreenshot(nav, "db_navigator_rtl");

    // A picture replaced meanwhile belongs to its button index.
    QPixmap red(16, 16);
    red.fill(Qt::red);
    const QIcon redIcon(red);
    nav->setGlyph(Nav::nbFirst, redIcon);
    QCOMPARE(nav->button(Nav::nbLast)->icon().cacheKey(), redIcon.cacheKey());
    QCOMPARE(nav->glyph(Nav::nbFirst).cacheKey(), redIcon.cacheKey());
    pictures[Nav::nbFirst] = redIcon.cacheKey();

    owner->setLayoutDirection(Qt::LeftToRight);
    for (int i = 0; i < Nav::ButtonCount; ++i) {
        QAbstractButton* b = nav->button(Nav::NavigateBtn(i));
        QCOMPARE(b->geometry(), places[i]);
        QCOMPARE(b->icon().cacheKey(), pictures[i]);
    }
}

// The default arrows that trade places right to left are mirror images of each other, so
// the exchange turns them round.
void TestDbNavigator::exchangedArrowsPointTheOtherWay() {
    const QList<std::pair<int, int>> pairs{{Nav::nbFirst, Nav::nbLast},
                                           {Nav::nbPrior, Nav::nbNext}};
    for (auto [a, b] : pairs) {
        const QImage left =
            nav->glyph(a).pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage right =
            nav->glyph(b).pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
        QVERIFY(differingPixels(left, right) > 50); // not the same picture
        const int off = differingPixels(left.mirrored(true, false), right);
        QVERIFY2(off <= 10, qPrintable(QString("%1 pixels differ").arg(off)));
    }
}

void TestDbNavigator::glyphReplacement_data() {
    QTest::addColumn<int>("index");
    for (int b : everyButton())
        QTest::newRow(buttonName(b)) << b;
    QTest::newRow("index -1 ignored") << -1;
    QTest::newRow("index 10 ignored") << 10;
}

void TestDbNavigator::glyphReplacement() {
    QFETCH(int, index);
    QList<qint64> before;
    for (int i = 0; i < Nav::ButtonCount; ++i)
        before << nav->glyph(i).cacheKey();
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::magenta);
    const QIcon icon(pixmap);
    nav->setGlyph(index, icon);
    for (int i = 0; i < Nav::ButtonCount; ++i) {
        const qint64 expected = i == index ? icon.cacheKey() : before[i];
        QCOMPARE(nav->glyph(i).cacheKey(), expected);
        QCOMPARE(nav->button(Nav::NavigateBtn(i))->icon().cacheKey(), expected);
    }
    QCOMPARE(nav->glyph(index).isNull(), index < 0 || index >= Nav::ButtonCount);
}

QTEST_MAIN(TestDbNavigator)
#include "tst_db_navigator.moc"
