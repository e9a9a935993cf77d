#include "app/gui_start.h"

#include "reports/common/report_fonts.h"

#include "app/data_module.h"
#include "app/main_form.h"
#include "app/splash_form.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QMessageBox>

void setUpChineseFonts() {
    const QString ming = QStringLiteral("AR PL UMing TW");
    installReportFontSubstitutes();
    QFont font(QFontDatabase::hasFamily(QStringLiteral("新細明體")) ? QStringLiteral("新細明體")
                                                                    : ming);
    font.setPixelSize(12);
    QApplication::setFont(font);
}

void showTraceFileProblems(DataModule& dm) {
    // Queued: the trace is written in the middle of a statement, the box waits for it to end.
    QObject::connect(
        &dm, &DataModule::traceFileFailed, &dm,
        [](const QString& message) {
            QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("SQL 追蹤"), message);
        },
        Qt::QueuedConnection);
}

int runGui(int& argc, char** argv) {
    QApplication app(argc, argv);
    setUpChineseFonts();
    auto splash = std::make_unique<TSplashForm>();
    splash->show();
    QApplication::processEvents();
    DataModule dm;
    showTraceFileProblems(dm);
    const QString problem = dm.DataModuleCreate();
    if (!problem.isEmpty()) QMessageBox::critical(nullptr, QStringLiteral("錯誤"), problem);
    TMainForm mainForm;
    if (!mainForm.ownsInstanceLock()) return 0; // another copy runs: end quietly
    splash.reset();
    mainForm.show();
    return app.exec();
}
