// What the program promises when its database session goes away: the server ends the session
// in the middle of a build, a save or a recomputation (an administrator, a dropped network),
// between two actions of an open screen, or restarts altogether. Every screen and every
// subcommand then says why with the server's own text, writes nothing half, stays usable, and
// its next action connects again and works, without restarting the program.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/menu_screens.h"
#include "app/station_settings.h"
#include "console/sy990_screen.h"
#include "db/trial_schema.h"
#include "reports/common/report_form.h"
#include "reports/common/report_preview.h"
#include "reports/report_catalogue.h"
#include "screens/common/db_edit.h"
#include "screens/common/db_navigator.h"
#include "screens/common/maintenance_form.h"
#include "support/faults.h"
#include "support/gui_support.h"
#include "support/modal_answers.h"
#include "support/test_database.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace faults;

namespace {

// Every station table in one list: a lock on it holds up the first statement that reads any.
QString stationTables() {
    return trialTableNames().join(QStringLiteral(", "));
}

using gui::retype;

const QString firstDay = dayText(day.addDays(-2));
const QString lastDay = dayText(day);
const QString month = day.toString(QStringLiteral("yyyy/MM"));

using Killer = std::function<std::unique_ptr<SessionKiller>()>;

} // namespace

class TestFaultsConnection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Every report screen, previewing: killed mid-build, killed between two previews, server
    // restarted between two previews.
    void reportScreen_data();
    void reportScreen();
    // Every writing screen, saving: the same three faults.
    void writingScreen_data();
    void writingScreen();
    // SY020's recomputation of the tank stock on closing: killed part-way, the office is told
    // that the stock is not recomputed and may try again at once; after a session lost or a
    // server restarted while the screen was open, it simply runs.
    void sy020RecomputationOnClosing_data();
    void sy020RecomputationOnClosing();
    // Every subcommand killed mid-work: exit 1 with the server's text, nothing written, and
    // the same command run again works.
    void command_data();
    void command();

private:
    void open(const QString& className);
    // Runs `act` on the open screen; the message boxes it showed.
    QString act(const std::function<void()>& act, QMessageBox::StandardButton button,
                int* previews = nullptr);

    std::unique_ptr<DataModule> dm_;
    std::unique_ptr<TScreen> screen_;
    QTemporaryDir home_;
    QTemporaryDir work_;
};

void TestFaultsConnection::initTestCase() {
    setUpChineseFonts();
    QVERIFY(home_.isValid() && work_.isValid());
    // The invoice media file goes to Export in the home folder, reports to the working folder.
    qputenv("HOME", home_.path().toLocal8Bit());
    QVERIFY(QDir(home_.path()).mkpath(QStringLiteral("Export")));
    QDir::setCurrent(work_.path());
}

void TestFaultsConnection::init() {
    resetStation();
}

void TestFaultsConnection::cleanup() {
    if (screen_ && screen_->isVisible()) {
        ModalAnswers any(QMessageBox::Ok);
        screen_->close();
    }
    screen_.reset();
    dm_.reset();
}

void TestFaultsConnection::open(const QString& className) {
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
    // The station's settings, as the program reads them on starting.
    dm_->qy1.setSql(QStringLiteral("SELECT * FROM set_system "));
    dm_->qy1.open();
    QCOMPARE(readStationSettings(dm_->qy1, dm_->settings), QString());
    dm_->qy1.close();
    const ScreenFactory factory = screenFactory(className);
    QVERIFY2(factory, qPrintable(className));
    screen_ = factory();
    screen_->FormCreate();
    screen_->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen_.get()));
    QApplication::setActiveWindow(screen_.get());
}

QString TestFaultsConnection::act(const std::function<void()>& action,
                                  QMessageBox::StandardButton button, int* previews) {
    ModalAnswers answers(button);
    action();
    QApplication::processEvents();
    if (previews) *previews = answers.previews;
    return answers.said();
}

void TestFaultsConnection::reportScreen_data() {
    QTest::addColumn<QString>("code");
    for (const ReportDef& report : reportCatalogue())
        QTest::newRow(qPrintable(report.code)) << report.code;
}

void TestFaultsConnection::reportScreen() {
    QFETCH(QString, code);
    open(QStringLiteral("TFrm") + code);
    auto* screen = qobject_cast<TReportForm*>(screen_.get());
    QVERIFY(screen);
    if (screen->e02) {
        screen->e01->setText(firstDay);
        screen->e02->setText(lastDay);
    } else {
        screen->e01->setText(lastDay);
    }
    const auto preview = [&](int* shown) {
        return act([&] { QTest::mouseClick(screen->SpeedButtonPrn, Qt::LeftButton); },
                   QMessageBox::Ok, shown);
    };
    const QMap<QString, QString> before = writtenTables();
    int shown = 0;

    // Killed while the build waits for its first station table.
    {
        auto killer = SessionKiller::whenReading(stationTables());
        const QString said = preview(&shown);
        QVERIFY2(killer->killed(10000), qPrintable(killer->problem()));
        QVERIFY2(said.contains(terminatedText), qPrintable(said));
        QCOMPARE(shown, 0);
    }
    QVERIFY(screen->isVisible());
    QCOMPARE(changedTables(before), QString());
    QCOMPARE(preview(&shown), QString());
    QCOMPARE(shown, 1);

    // Killed between two previews.
    killSessionsNow();
    QCOMPARE(preview(&shown), QString());
    QCOMPARE(shown, 1);

    // The server restarted between two previews.
    QVERIFY(restartServer());
    QCOMPARE(preview(&shown), QString());
    QCOMPARE(shown, 1);
    QCOMPARE(changedTables(before), QString());

    // The export killed mid-build writes no file; the next one writes it.
    if (!screen->SBT) return;
    const QString exported = findReport(code)->exportFile;
    QFile::remove(exported);
    const auto exportRows = [&] {
        return act([&] { QTest::mouseClick(screen->SBT, Qt::LeftButton); }, QMessageBox::Ok);
    };
    {
        auto killer = SessionKiller::whenReading(stationTables());
        const QString said = exportRows();
        QVERIFY2(killer->killed(10000), qPrintable(killer->problem()));
        QVERIFY2(said.contains(terminatedText), qPrintable(said));
    }
    QCOMPARE(filesIn(QDir::currentPath()), QStringList());
    QCOMPARE(exportRows(), QString());
    QCOMPARE(filesIn(QDir::currentPath()), QStringList{exported});
    QFile::remove(exported);
}

// A writing screen: how to open it, one save (`attempt` makes each save differ), where the
// session is held up to be killed, and the table a save changes.
struct WritingCase {
    QString className;
    std::function<void(TScreen*)> prepare;
    std::function<void(TScreen*, int attempt)> save;
    Killer killer;
    QString changes;
};

static QMap<QString, WritingCase> writingCases() {
    using Nav = TBiDiDBNavigator;
    QMap<QString, WritingCase> cases;
    const auto post = [](TScreen* s) {
        auto* form = static_cast<TMaintenanceForm*>(s);
        form->BiDiDBNavigator1->BtnClick(Nav::nbPost);
    };
    cases.insert(QStringLiteral("SY010 rates saved"),
                 {QStringLiteral("TFrmSY010"), nullptr,
                  [post](TScreen* s, int attempt) {
                      auto* edit = s->findChild<QLineEdit*>(QStringLiteral("DBEdit3"));
                      retype(edit, QStringLiteral("0.%1").arg(10 + attempt));
                      post(s);
                  },
                  [] {
                      return SessionKiller::whenWriting(QStringLiteral("cust_unit"),
                                                        QStringLiteral("UPDATE"));
                  },
                  QStringLiteral("cust_unit")});
    cases.insert(QStringLiteral("SY020 receipt saved"),
                 {QStringLiteral("TFrmSY020"), nullptr,
                  [post](TScreen* s, int attempt) {
                      auto* edit = s->findChild<QLineEdit*>(QStringLiteral("DBEdit3"));
                      retype(edit, QString::number(4000 + attempt));
                      post(s);
                  },
                  [] {
                      return SessionKiller::whenWriting(QStringLiteral("oil_change"),
                                                        QStringLiteral("UPDATE"));
                  },
                  QStringLiteral("oil_change")});
    cases.insert(
        QStringLiteral("SY040 charge sale added"),
        {QStringLiteral("TFrmSY040"),
         [](TScreen* s) {
             s->findChild<QLineEdit*>(QStringLiteral("ED1"))->setText(lastDay);
             QTest::mouseClick(s->findChild<QToolButton*>(QStringLiteral("sb01")), Qt::LeftButton);
         },
         [](TScreen* s, int attempt) {
             QTest::mouseClick(s->findChild<QToolButton*>(QStringLiteral("sb03")), Qt::LeftButton);
             retype(s->findChild<QLineEdit*>(QStringLiteral("e04")),
                    QStringLiteral("23:59:%1").arg(attempt, 2, 10, QLatin1Char('0')));
             QTest::mouseClick(s->findChild<QToolButton*>(QStringLiteral("sb11")), Qt::LeftButton);
         },
         [] {
             return SessionKiller::whenWriting(QStringLiteral("tran_detl"),
                                               QStringLiteral("INSERT"));
         },
         QStringLiteral("tran")});
    const auto months = [](TScreen* s) {
        s->findChild<QLineEdit*>(QStringLiteral("e01"))->setText(month);
        s->findChild<QLineEdit*>(QStringLiteral("e02"))->setText(month);
    };
    cases.insert(
        QStringLiteral("SY050 trial"),
        {QStringLiteral("TFrmSY050"), months,
         [](TScreen* s, int) { s->findChild<QPushButton*>(QStringLiteral("sb02"))->click(); },
         [] { return SessionKiller::whenReading(QStringLiteral("tran")); },
         QStringLiteral("tin010")});
    // The media step writes the trial's invoices (tIN010): a trial comes first.
    const auto trialFirst = [months](TScreen* s) {
        months(s);
        s->findChild<QPushButton*>(QStringLiteral("sb02"))->click();
    };
    cases.insert(
        QStringLiteral("SY050 media"),
        {QStringLiteral("TFrmSY050"), trialFirst,
         [](TScreen* s, int) { s->findChild<QPushButton*>(QStringLiteral("sb03"))->click(); },
         [] { return SessionKiller::whenReading(QStringLiteral("tin010")); },
         QStringLiteral("media file")});
    cases.insert(
        QStringLiteral("SY990 update typed"),
        {QStringLiteral("TFrmSY990"),
         [](TScreen* s) {
             auto* console = static_cast<TFrmSY990*>(s);
             console->RadioGroup1Items->button(int(console::Command::Update))->click();
         },
         [](TScreen* s, int attempt) {
             auto* console = static_cast<TFrmSY990*>(s);
             console->Memo1->setPlainText(
                 QStringLiteral("update cust_unit set discount_d = 0.%1").arg(10 + attempt));
             QTest::mouseClick(console->SpeedButton2, Qt::LeftButton);
         },
         [] {
             return SessionKiller::whenWriting(QStringLiteral("cust_unit"),
                                               QStringLiteral("UPDATE"));
         },
         QStringLiteral("cust_unit")});
    cases.insert(QStringLiteral("SY990 long query"),
                 {QStringLiteral("TFrmSY990"), nullptr,
                  [](TScreen* s, int) {
                      auto* console = static_cast<TFrmSY990*>(s);
                      console->Memo1->setPlainText(
                          QStringLiteral("select count(*), pg_sleep(0) from tran"));
                      QTest::mouseClick(console->SpeedButton2, Qt::LeftButton);
                  },
                  [] { return SessionKiller::whenReading(QStringLiteral("tran")); }, QString()});
    return cases;
}

void TestFaultsConnection::writingScreen_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : writingCases().keys())
        QTest::newRow(qPrintable(name)) << name;
}

void TestFaultsConnection::writingScreen() {
    QFETCH(QString, name);
    const WritingCase c = writingCases().value(name);
    open(c.className);
    if (c.prepare) c.prepare(screen_.get());
    const QString mediaFile = QDir(home_.path()).filePath(QStringLiteral("Export"));
    for (const QString& old : filesIn(mediaFile))
        QFile::remove(QDir(mediaFile).filePath(old));
    int attempt = 0;
    // Saved: nothing said but the media step's question, and the table (or file) changed.
    const auto saves = [&](const char* when) {
        // The trial makes tIN010 anew: gone first, a trial that worked makes it again.
        if (c.changes == QLatin1String("tin010"))
            testdb::admin(QStringLiteral("drop table if exists tin010"),
                          QStringLiteral("pos_data"));
        QMap<QString, QString> before = writtenTables();
        const QString said = act([&] { c.save(screen_.get(), ++attempt); }, QMessageBox::Ok);
        QString other = said;
        other.remove(QStringLiteral("請先試算正確後,在執行媒體轉檔作業..."));
        QVERIFY2(other.trimmed().isEmpty(), qPrintable(QString::fromLatin1(when) + ": " + said));
        if (c.changes == QLatin1String("media file"))
            QCOMPARE(filesIn(mediaFile).size(), 1);
        else if (!c.changes.isEmpty())
            QVERIFY2(changedTables(before).contains(c.changes),
                     qPrintable(QString::fromLatin1(when) + ": " + changedTables(before)));
        for (const QString& old : filesIn(mediaFile))
            QFile::remove(QDir(mediaFile).filePath(old));
    };

    // Killed in the middle of the save: said with the server's text, nothing half-written.
    const QMap<QString, QString> before = writtenTables();
    {
        auto killer = c.killer();
        const QString said = act([&] { c.save(screen_.get(), ++attempt); }, QMessageBox::Ok);
        QVERIFY2(killer->killed(10000), qPrintable(killer->problem()));
        QVERIFY2(said.contains(terminatedText), qPrintable(said));
    }
    QVERIFY(screen_->isVisible());
    QCOMPARE(changedTables(before), QString());
    QCOMPARE(filesIn(mediaFile), QStringList());
    saves("after the kill");

    killSessionsNow();
    saves("killed between two saves");

    QVERIFY(restartServer());
    saves("after a restart");
    QVERIFY(screen_->isVisible());
}

void TestFaultsConnection::sy020RecomputationOnClosing_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("killed mid-recomputation, retried") << "killed mid-recomputation";
    QTest::newRow("killed before closing") << "killed before closing";
    QTest::newRow("server restarted before closing") << "server restarted before closing";
}

void TestFaultsConnection::sy020RecomputationOnClosing() {
    QFETCH(QString, fault);
    open(QStringLiteral("TFrmSY020"));
    auto* form = static_cast<TMaintenanceForm*>(screen_.get());
    // A receipt of a past day corrected: closing recomputes the stock from that day on.
    retype(form->findChild<QLineEdit*>(QStringLiteral("DBEdit3")), QStringLiteral("4321"));
    QCOMPARE(
        act([&] { form->BiDiDBNavigator1->BtnClick(TBiDiDBNavigator::nbPost); }, QMessageBox::Ok),
        QString());
    const QMap<QString, QString> before = writtenTables();
    QString said;
    if (fault == QLatin1String("killed mid-recomputation")) {
        auto killer =
            SessionKiller::whenWriting(QStringLiteral("shift_03_tank"), QStringLiteral("UPDATE"));
        // The box (killed) is answered with Retry, which recomputes.
        said = act([&] { form->close(); }, QMessageBox::Retry);
        QVERIFY2(killer->killed(10000), qPrintable(killer->problem()));
        QVERIFY2(said.contains(terminatedText), qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("尚未重算")), qPrintable(said));
    } else {
        if (fault == QLatin1String("killed before closing"))
            killSessionsNow();
        else
            QVERIFY(restartServer());
        said = act([&] { form->close(); }, QMessageBox::Ok);
        QCOMPARE(said, QString());
    }
    QVERIFY(!form->isVisible());
    QVERIFY2(changedTables(before).contains(QStringLiteral("shift_03_tank")),
             qPrintable(changedTables(before)));
}

void TestFaultsConnection::command_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("held");      // tables locked, or "table EVENT" paused
    QTest::addColumn<QString>("changes");   // what the command writes when it works
    QTest::addColumn<QString>("file");      // the file it writes, relative to its folder
    QTest::addColumn<QStringList>("first"); // a command run before, when one is needed
    for (const ReportDef& report : reportCatalogue()) {
        QStringList args{QStringLiteral("report"), report.code};
        if (report.options.contains(QStringLiteral("from")))
            args << QStringLiteral("--from") << firstDay << QStringLiteral("--to") << lastDay;
        else
            args << QStringLiteral("--date") << lastDay;
        args << QStringLiteral("--pdf") << QStringLiteral("out.pdf");
        QTest::newRow(qPrintable(QStringLiteral("report ") + report.code))
            << args << stationTables() << QString() << QStringLiteral("out.pdf") << QStringList();
    }
    QTest::newRow("info") << QStringList{QStringLiteral("info")} << stationTables() << QString()
                          << QString() << QStringList();
    QTest::newRow("stock recompute")
        << QStringList{QStringLiteral("stock"), QStringLiteral("recompute"),
                       QStringLiteral("--from"), firstDay}
        << QStringLiteral("shift_03_tank UPDATE") << QString() << QString() << QStringList();
    QTest::newRow("invoice trial")
        << QStringList{QStringLiteral("invoice"), QStringLiteral("trial"),
                       QStringLiteral("--from"),  month,
                       QStringLiteral("--to"),    month}
        << QStringLiteral("tran") << QStringLiteral("tin010") << QString() << QStringList();
    QTest::newRow("invoice media")
        << QStringList{QStringLiteral("invoice"), QStringLiteral("media"),
                       QStringLiteral("--from"),  month,
                       QStringLiteral("--to"),    month,
                       QStringLiteral("--out"),   QStringLiteral("media.txt")}
        << QStringLiteral("tin010") << QString() << QStringLiteral("media.txt")
        << QStringList{QStringLiteral("invoice"), QStringLiteral("trial"),
                       QStringLiteral("--from"),  month,
                       QStringLiteral("--to"),    month};
    QTest::newRow("demo-db")
        << QStringList{QStringLiteral("demo-db"),         QStringLiteral("--replace"),
                       QStringLiteral("--days"),          QStringLiteral("2"),
                       QStringLiteral("--sales-per-day"), QStringLiteral("5")}
        << QStringLiteral("tran") << QStringLiteral("tran") << QString() << QStringList();
}

void TestFaultsConnection::command() {
    QFETCH(QStringList, args);
    QFETCH(QString, held);
    QFETCH(QString, changes);
    QFETCH(QString, file);
    QFETCH(QStringList, first);
    QTemporaryDir folder;
    if (!first.isEmpty()) {
        const Run ready = runTolvar(folder.path(), first);
        QVERIFY2(ready.status == 0, qPrintable(ready.err));
    }
    const QMap<QString, QString> before = writtenTables();
    Run run;
    {
        std::unique_ptr<SessionKiller> killer =
            held.contains(QLatin1Char(' ')) && !held.contains(QLatin1Char(','))
                ? SessionKiller::whenWriting(held.section(' ', 0, 0), held.section(' ', 1, 1))
                : SessionKiller::whenReading(held);
        run = runTolvar(folder.path(), args);
        QVERIFY2(killer->killed(10000), qPrintable(killer->problem()));
    }
    QVERIFY2(run.status == 1, qPrintable(QString::number(run.status) + ' ' + run.err));
    QVERIFY2(run.err.contains(terminatedText), qPrintable(run.err));
    QCOMPARE(changedTables(before), QString());
    QCOMPARE(filesIn(folder.path()), QStringList{QStringLiteral("config.ini")});

    run = runTolvar(folder.path(), args);
    QVERIFY2(run.status == 0, qPrintable(QString::number(run.status) + ' ' + run.err));
    if (!changes.isEmpty())
        QVERIFY2(changedTables(before).contains(changes), qPrintable(changedTables(before)));
    if (!file.isEmpty()) QVERIFY(QFileInfo(QDir(folder.path()).filePath(file)).size() > 0);
}

QTEST_MAIN(TestFaultsConnection)
#include "tst_faults_connection.moc"
