// The windows every screen uses: the modal opener, the confirmation question and the
// progress window with its 1-to-100 counter.
#include "app/gui_start.h"
#include "db/db_error.h"
#include "screens/common/modal_opener.h"
#include "screens/common/process_form.h"
#include "screens/common/screen.h"
#include "support/gui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

namespace {

// A screen that records what the opener did with it and closes with a chosen result.
class ProbeScreen : public TScreen {
public:
    ProbeScreen(int result, bool failOpening) : result_(result), failOpening_(failOpening) {}
    void FormCreate() override {
        cursorWhileOpening = QApplication::overrideCursor()
                                 ? QApplication::overrideCursor()->shape()
                                 : Qt::ArrowCursor;
        if (failOpening_) throw DbError(QStringLiteral("could not connect to server"));
        QTimer::singleShot(0, this, [this] {
            shownModal = isModal() && isVisible();
            cursorWhileShown = QApplication::overrideCursor() != nullptr;
            done(result_);
        });
    }
    static inline Qt::CursorShape cursorWhileOpening = Qt::ArrowCursor;
    static inline bool shownModal = false;
    static inline bool cursorWhileShown = true;

private:
    int result_;
    bool failOpening_;
};

} // namespace

class TestCommonWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpChineseFonts(); }
    void openModal_data();
    void openModal();
    void openModalShowsAFailedOpening();
    void confirmAnswers_data();
    void confirmAnswers();
    void progressCounterWraps_data();
    void progressCounterWraps();
    void progressWindowLifetime();
};

void TestCommonWindows::openModal_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("returned");
    QTest::newRow("closed with OK") << int(QDialog::Accepted) << true;
    QTest::newRow("closed otherwise") << int(QDialog::Rejected) << false;
}

void TestCommonWindows::openModal() {
    QFETCH(int, result);
    QFETCH(bool, returned);
    QPointer<TScreen> made;
    ProbeScreen::shownModal = false;
    const bool ok = open_modal([&] {
        auto screen = std::make_unique<ProbeScreen>(result, false);
        made = screen.get();
        return std::unique_ptr<TScreen>(std::move(screen));
    });
    QCOMPARE(ok, returned);
    QCOMPARE(ProbeScreen::cursorWhileOpening, Qt::WaitCursor);
    QVERIFY(ProbeScreen::shownModal);
    QVERIFY(!ProbeScreen::cursorWhileShown);
    QVERIFY(made.isNull()); // destroyed once it closed
    QVERIFY(!QApplication::overrideCursor());
}

void TestCommonWindows::openModalShowsAFailedOpening() {
    QString seen;
    gui::pressInNextMessageBox(QMessageBox::Ok, &seen);
    QPointer<TScreen> made;
    const bool ok = open_modal([&] {
        auto screen = std::make_unique<ProbeScreen>(QDialog::Accepted, true);
        made = screen.get();
        return std::unique_ptr<TScreen>(std::move(screen));
    });
    QVERIFY(!ok);
    QCOMPARE(seen, QStringLiteral("could not connect to server"));
    QVERIFY(made.isNull());
    QVERIFY(!QApplication::overrideCursor()); // the pointer is normal again
}

void TestCommonWindows::confirmAnswers_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("expected");
    QTest::newRow("OK") << "ok" << true;
    QTest::newRow("Cancel") << "cancel" << false;
    QTest::newRow("Escape") << "escape" << false;
}

void TestCommonWindows::confirmAnswers() {
    QFETCH(QString, how);
    QFETCH(bool, expected);
    QString seen;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    gui::answerNextDialog(
        [&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            if (!box) return;
            icon = box->icon();
            if (how == "ok") box->button(QMessageBox::Ok)->click();
            if (how == "cancel") box->button(QMessageBox::Cancel)->click();
            if (how == "escape") QTest::keyClick(box, Qt::Key_Escape);
        },
        &seen);
    QCOMPARE(confirm(QStringLiteral("確定刪除？")), expected);
    QCOMPARE(seen, QStringLiteral("確定刪除？"));
    QCOMPARE(icon, QMessageBox::Question);
}

void TestCommonWindows::progressCounterWraps_data() {
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("shown");
    QTest::newRow("first step") << 1 << 1;
    QTest::newRow("100th step") << 100 << 100;
    QTest::newRow("101st step") << 101 << 1;
    QTest::newRow("250th step") << 250 << 50;
}

void TestCommonWindows::progressCounterWraps() {
    QFETCH(int, steps);
    QFETCH(int, shown);
    WindowProgress progress;
    progress.begin();
    for (int i = 0; i < steps; ++i)
        progress.step();
    QCOMPARE(progress.counter(), shown);
    QCOMPARE(progress.window()->ProgressBar1->value(), shown);
    progress.end();
}

void TestCommonWindows::progressWindowLifetime() {
    QPointer<TfmProcess> seen;
    bool visibleDuringWork = false;
    try {
        withProgressWindow(nullptr, [&](Progress& progress) {
            auto& window = static_cast<WindowProgress&>(progress);
            seen = window.window();
            visibleDuringWork = seen && seen->isVisible();
            QVERIFY(seen->Label2->text().isEmpty());
            progress.setLabel(QStringLiteral("發票號碼檢查"));
            progress.step();
            QCOMPARE(seen->size(), QSize(580, 328));
            QVERIFY(seen->windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(seen->Label2->text(), QStringLiteral("發票號碼檢查"));
            QCOMPARE(seen->ProgressBar1->maximum(), 100);
            gui::saveScreenshot(seen, "progress_window");
            throw DbError(QStringLiteral("server closed the connection unexpectedly"));
        });
        QFAIL("the work's error must reach the caller");
    } catch (const DbError& error) {
        QCOMPARE(error.message(), QStringLiteral("server closed the connection unexpectedly"));
    }
    QVERIFY(visibleDuringWork);
    QVERIFY(seen.isNull()); // hidden and destroyed also when the work failed
}

QTEST_MAIN(TestCommonWindows)
#include "tst_common_windows.moc"
