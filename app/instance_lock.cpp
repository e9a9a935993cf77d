#include "app/instance_lock.h"

#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::InstanceLock(QString name) : name_(std::move(name)) {}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_); // closing releases the lock
}

QString InstanceLock::path() const {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name_ + QStringLiteral(".lock"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("%1-%2.lock").arg(name_).arg(::getuid()));
}

bool InstanceLock::tryAcquire() {
    if (fd_ >= 0) return true;
    const QByteArray file = QFile::encodeName(path());
    const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    // flock belongs to the open file: it is gone as soon as the process is, however it ended,
    // so a crashed copy never blocks the next start.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}
