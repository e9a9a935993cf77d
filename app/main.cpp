// TOLVAR: the back-office program of the filling station. Without arguments it opens the
// main window; with a subcommand it runs that command without a window.

#include "app/cli.h"
#include "app/gui_start.h"
#include "app/report_command.h"
#include "reports/common/report_printer.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "report") {
        // Reports are drawn with the station's fonts and may go to the printer: that takes a
        // GUI application, which needs no display when drawing off screen.
        if (!hasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        setUpChineseFonts();
        setReportPrinter(printReport);
        return runCommandLine(QCoreApplication::arguments());
    }
    if (argc > 1) {
        QCoreApplication app(argc, argv);
        return runCommandLine(QCoreApplication::arguments());
    }
    if (!hasDisplay()) {
        std::fprintf(stderr, "%s\n%s",
                     "tolvar: 沒有可用的顯示器 (DISPLAY 未設定)，無法開啟主畫面。可改用命令列:",
                     commandLineHelp().toUtf8().constData());
        return ExitUsage;
    }
    return runGui(argc, argv);
}
