// TOLVAR: the back-office program of the filling station. Without arguments it opens the
// main window; with a subcommand it runs that command without a window.

#include "app/gui_start.h"
#include "cli/command_line.h"
#include "cli/report_command.h"
#include "reports/common/report_printer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// A command-line run from cron or a plain ssh session has no XDG_RUNTIME_DIR; Qt then makes
// one of its own and says so on stderr. Make the same private folder quietly instead, so the
// command prints only its own messages.
void ensureRuntimeDir() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/runtime-tolvar-" +
                           QByteArray::number(qulonglong(::getuid()));
    if (::mkdir(dir.constData(), 0700) != 0 && errno != EEXIST) return;
    struct stat info {};
    if (::lstat(dir.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return;
    if ((info.st_mode & 0777) != 0700 && ::chmod(dir.constData(), 0700) != 0) return;
    qputenv("XDG_RUNTIME_DIR", dir);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) ensureRuntimeDir();
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
