#include "cli/console_progress.h"

#include <cstdio>
#include <unistd.h>

void ConsoleProgress::begin() {
    terminal_ = ::isatty(STDERR_FILENO) == 1;
    steps_ = 0;
    shownAt_.start();
    print(true);
}

void ConsoleProgress::setLabel(const QString& text) {
    label_ = text;
    print(true);
}

void ConsoleProgress::shown(int) {
    ++steps_;
    print(false);
}

void ConsoleProgress::print(bool force) {
    // A log gets a line per label; a terminal a line rewritten at most ten times a second.
    if (!terminal_ && !force) return;
    if (!force && shownAt_.elapsed() < 100) return;
    shownAt_.restart();
    const QString line =
        QStringLiteral("%1%2%3 ... %4")
            .arg(task_, label_.isEmpty() ? QString() : QStringLiteral(": "), label_)
            .arg(steps_);
    std::fprintf(stderr, terminal_ ? "\r%s\033[K" : "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

void ConsoleProgress::end() {
    print(true);
    if (terminal_) std::fputc('\n', stderr);
}
