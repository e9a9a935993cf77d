// The single-instance rule: a named lock that a second running copy of the program cannot
// take. The operating system releases it when the process ends, also after a crash.
#pragma once

#include <QString>

class InstanceLock {
public:
    explicit InstanceLock(QString name = QStringLiteral("PTolvMenu"));
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock; false when another process holds it (or its file cannot be made).
    bool tryAcquire();
    bool held() const { return fd_ >= 0; }
    // The lock file: in the user's runtime folder, or the temporary folder.
    QString path() const;

private:
    QString name_;
    int fd_ = -1;
};
