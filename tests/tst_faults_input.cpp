// Input meant to change a statement or break a conversion, typed into every field of the
// screens and given to every option of the subcommands: quotes, backslashes, ";", "--", Big5
// characters whose second byte is a backslash, characters Big5 cannot hold, NUL, line breaks,
// 1,000-character texts, impossible dates, negative and huge numbers. The program answers with
// a clear message or a correct result; no statement it sends is changed by the value (the SQL
// trace shows each statement as sent), nothing crashes, the window stays usable.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "app/menu_screens.h"
#include "reports/common/report_preview.h"
#include "reports/report_catalogue.h"
#include "screens/common/db_navigator.h"
#include "screens/common/maintenance_form.h"
#include "support/faults.h"
#include "support/modal_answers.h"
#include "support/test_database.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace faults;

namespace {

// Why a statement was changed by `value`, empty when none was. `statements` are the trace's
// texts as the Latin-1 reading of their Big5 bytes.
// `*sent` counts the statements that hold the value as its literal.
QString alteredStatement(const QStringList& statements, const QString& value, int* sent = nullptr) {
    for (const QString& s : statements) {
        const QString why = alteredBy(s, value);
        if (why.isEmpty() && sent) ++*sent;
        if (!why.isEmpty() && !why.startsWith(QStringLiteral("the value does not appear")))
            return why + QStringLiteral(": ") + s.left(300);
    }
    return {};
}

// A server's refusal of a statement's text: what a value that changed a statement shows.
bool statementBroken(const QString& text) {
    return text.contains(QStringLiteral("syntax error")) ||
           text.contains(QStringLiteral("unterminated")) ||
           text.contains(QStringLiteral("invalid byte sequence"));
}

// The hostile texts and, for fields that take numbers or dates, the wrong numbers and dates.
QMap<QString, QString> inputs() {
    QMap<QString, QString> all = hostileTexts();
    all.insert(QStringLiteral("negative"), QStringLiteral("-1"));
    all.insert(QStringLiteral("huge"), QStringLiteral("99999999999999999999999"));
    all.insert(QStringLiteral("2024/02/30"), QStringLiteral("2024/02/30"));
    all.insert(QStringLiteral("0000/00/00"), QStringLiteral("0000/00/00"));
    return all;
}

const QString fromDay = dayText(day.addDays(-2));
const QString toDay = dayText(day);

} // namespace

class TestFaultsInput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    // Every typed field of every screen, with its action: each input in turn.
    void typedField_data();
    void typedField();
    // Every option of every subcommand.
    void option_data();
    void option();

private:
    QTemporaryDir work_;
};

void TestFaultsInput::initTestCase() {
    setUpChineseFonts();
    QVERIFY(work_.isValid());
    qputenv("HOME", work_.path().toLocal8Bit());
    QDir::setCurrent(work_.path());
    resetStation();
}

void TestFaultsInput::typedField_data() {
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("action"); // the button; "post" for a maintenance screen's save
    QTest::addColumn<QString>("before"); // a button pressed before typing, if any
    const QStringList reportFields{"BR010 e03", "BR010 e04", "BR050 e03", "BR050 e04",
                                   "BR080 e03", "BR100 e03", "BR100 e04", "BR110 e03"};
    for (const QString& f : reportFields)
        QTest::newRow(qPrintable(f))
            << QStringLiteral("TFrm") + f.section(' ', 0, 0) << f.section(' ', 1, 1)
            << QStringLiteral("SpeedButtonPrn") << QString();
    for (const char* f : {"e01", "e02"})
        QTest::newRow(qPrintable(QStringLiteral("SY050 ") + f))
            << "TFrmSY050" << QString::fromLatin1(f) << "sb02" << QString();
    for (const char* f : {"DBEdit2", "DBEdit3", "DBEdit4", "ED1"})
        QTest::newRow(qPrintable(QStringLiteral("SY010 ") + f))
            << "TFrmSY010" << QString::fromLatin1(f) << "post" << QString();
    for (const char* f : {"DBEdit1", "DBEdit2", "DBEdit3", "DBEdit4", "ED1"})
        QTest::newRow(qPrintable(QStringLiteral("SY020 ") + f))
            << "TFrmSY020" << QString::fromLatin1(f) << "post" << QString();
    for (const char* f : {"e01", "e02", "e04", "e05", "e08", "e09", "e10"})
        QTest::newRow(qPrintable(QStringLiteral("SY040 new sale ") + f))
            << "TFrmSY040" << QString::fromLatin1(f) << "sb11"
            << "sb03";
}

void TestFaultsInput::typedField() {
    QFETCH(QString, screen);
    QFETCH(QString, field);
    QFETCH(QString, action);
    QFETCH(QString, before);
    DataModule dm;
    testdb::configure(dm.cn);
    const ScreenFactory factory = screenFactory(screen);
    QVERIFY(factory);
    std::unique_ptr<TScreen> s = factory();
    s->FormCreate();
    s->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.get()));
    auto* from = s->findChild<QLineEdit*>(QStringLiteral("e01"));
    if (from && screen.startsWith(QStringLiteral("TFrmBR"))) {
        from->setText(fromDay);
        if (auto* to = s->findChild<QLineEdit*>(QStringLiteral("e02"))) to->setText(toDay);
    }
    // Every statement the screen sends goes to the trace file.
    const QString trace = work_.filePath(QStringLiteral("trace.txt"));
    dm.sqlm.setFileName(trace);
    dm.sqlm.setAutoSave(true);
    dm.sqlm.setActive(true);
    const QMap<QString, QString> all = inputs();
    int sent = 0;
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QString& value = it.value();
        if (!before.isEmpty())
            QTest::mouseClick(s->findChild<QToolButton*>(before), Qt::LeftButton);
        auto* edit = s->findChild<QLineEdit*>(field);
        QVERIFY2(edit, qPrintable(field));
        QFile::remove(trace);
        ModalAnswers answers;
        edit->setFocus();
        edit->setText(value); // as pasted: the field takes what its length allows
        emit edit->textEdited(edit->text());
        if (action == QLatin1String("post")) {
            auto* form = static_cast<TMaintenanceForm*>(s.get());
            if (field != QLatin1String("ED1"))
                form->BiDiDBNavigator1->BtnClick(TBiDiDBNavigator::nbPost);
        } else if (auto* b = s->findChild<QAbstractButton*>(action)) {
            QTest::mouseClick(b, Qt::LeftButton);
        } else {
            QFAIL(qPrintable(action));
        }
        QApplication::processEvents();
        // Back to browsing for the next input.
        if (action == QLatin1String("post"))
            static_cast<TMaintenanceForm*>(s.get())->BiDiDBNavigator1->BtnClick(
                TBiDiDBNavigator::nbCancel);
        if (auto* cancel = s->findChild<QToolButton*>(QStringLiteral("sb12"));
            cancel && cancel->isVisible())
            QTest::mouseClick(cancel, Qt::LeftButton);
        const QStringList statements = tracedStatements(trace);
        const QString altered = alteredStatement(statements, edit->text(), &sent);
        QVERIFY2(altered.isEmpty(), qPrintable(it.key() + QStringLiteral(": ") + altered));
        for (const QString& said : answers.boxes)
            QVERIFY2(!statementBroken(said), qPrintable(it.key() + QStringLiteral(": ") + said));
        QVERIFY(s->isVisible());
    }
    // A text field whose value the statement carries shows it as a literal: the trace did
    // hold what was checked.
    if (field.startsWith(QLatin1Char('e')) && screen.startsWith(QStringLiteral("TFrmBR")) &&
        !screen.endsWith(QStringLiteral("BR050")))
        QVERIFY2(sent > 0, "no statement carried the input");
    if (screen == QLatin1String("TFrmSY010") && field == QLatin1String("DBEdit2"))
        QVERIFY2(sent > 0, "no statement carried the input");
    ModalAnswers closing;
    s->close();
}

void TestFaultsInput::option_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("value");
    const QMap<QString, QString> texts = hostileTexts();
    // Every report with all its options but the dates at once, for each hostile text that a
    // command line can carry (not NUL).
    for (const ReportDef& report : reportCatalogue()) {
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            if (it.value().contains(QChar(0))) continue;
            QStringList args{QStringLiteral("report"), report.code};
            for (const QString& option : report.options) {
                if (option == QLatin1String("from"))
                    args << QStringLiteral("--from") << fromDay;
                else if (option == QLatin1String("to"))
                    args << QStringLiteral("--to") << toDay;
                else if (option == QLatin1String("date"))
                    args << QStringLiteral("--date") << toDay;
                else if (option != QLatin1String("page-break"))
                    args << QStringLiteral("--") + option << it.value();
            }
            args << QStringLiteral("--pdf") << QStringLiteral("out.pdf");
            QTest::newRow(qPrintable(report.code + QStringLiteral(", ") + it.key()))
                << args << it.value();
        }
    }
    // Dates and numbers that are no dates or numbers.
    const QString month = day.toString(QStringLiteral("yyyy/MM"));
    for (const QString& wrong :
         {QStringLiteral("2024/02/30"), QStringLiteral("0000/00/00"),
          QStringLiteral("x'; DELETE FROM tran; --"), QStringLiteral("-1")}) {
        QTest::newRow(qPrintable(QStringLiteral("BR010 --from ") + wrong))
            << QStringList{"report", "BR010", "--from", wrong, "--to", toDay, "--pdf", "out.pdf"}
            << wrong;
        QTest::newRow(qPrintable(QStringLiteral("BR030 --date ") + wrong))
            << QStringList{"report", "BR030", "--date", wrong, "--pdf", "out.pdf"} << wrong;
        QTest::newRow(qPrintable(QStringLiteral("stock recompute --from ") + wrong))
            << QStringList{"stock", "recompute", "--from", wrong} << wrong;
        QTest::newRow(qPrintable(QStringLiteral("invoice trial --from ") + wrong))
            << QStringList{"invoice", "trial", "--from", wrong, "--to", month} << wrong;
        QTest::newRow(qPrintable(QStringLiteral("invoice media --to ") + wrong))
            << QStringList{"invoice", "media", "--from", month, "--to", wrong, "--out", "m.txt"}
            << wrong;
    }
    for (const QString& wrong :
         {QStringLiteral("-1"), QStringLiteral("99999999999999999999999"), QStringLiteral("x;y")})
        QTest::newRow(qPrintable(QStringLiteral("demo-db --days ") + wrong))
            << QStringList{"demo-db", "--replace", "--days", wrong} << wrong;
    QTest::newRow("BR050 shifts reversed")
        << QStringList{"report",       "BR050", "--from",     toDay, "--to",  fromDay,
                       "--from-shift", "3",     "--to-shift", "1",   "--pdf", "out.pdf"}
        << QStringLiteral("3");
}

void TestFaultsInput::option() {
    QFETCH(QStringList, args);
    QFETCH(QString, value);
    QTemporaryDir folder;
    const QMap<QString, QString> before = writtenTables();
    const Run run = runTolvar(folder.path(), args, {}, {QStringLiteral("DBMonitor=Y")});
    // 0 with the report (or none when nothing matched), 2 with the screen's message; never a
    // crash, a database error or a changed statement.
    QVERIFY2(run.status == 0 || run.status == 2,
             qPrintable(QString::number(run.status) + ' ' + run.err));
    QVERIFY2(!statementBroken(run.err), qPrintable(run.err));
    if (run.status == 2) QVERIFY2(!run.err.trimmed().isEmpty(), "refused without a message");
    QStringList statements;
    for (const QString& name : filesIn(folder.path()))
        if (name.startsWith(QLatin1Char('M')))
            statements += tracedStatements(QDir(folder.path()).filePath(name));
    const QString altered = alteredStatement(statements, value);
    QVERIFY2(altered.isEmpty(), qPrintable(altered));
    if (args.first() != QLatin1String("stock") && args.first() != QLatin1String("invoice")) {
        QString changed = changedTables(before);
        QCOMPARE(changed, QString());
    }
}

QTEST_MAIN(TestFaultsInput)
#include "tst_faults_input.moc"
