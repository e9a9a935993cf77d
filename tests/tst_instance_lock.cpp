// The single-instance lock "PTolvMenu": a second copy is refused, and neither a closed nor a
// crashed copy blocks the next start.
#include "app/instance_lock.h"

#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

class TestInstanceLock : public QObject {
    Q_OBJECT
private slots:
    void init();
    void secondCopyIsRefused();
    void releasedWhenTheCopyEnds();
    void crashedCopyDoesNotBlock();
    void lockLivesInTheRuntimeFolder();

private:
    QTemporaryDir runtime_;
};

void TestInstanceLock::init() {
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
}

void TestInstanceLock::secondCopyIsRefused() {
    InstanceLock first, second;
    QVERIFY(first.tryAcquire());
    QVERIFY(!second.tryAcquire());
    QVERIFY(!second.held());
    InstanceLock otherName(QStringLiteral("SomethingElse"));
    QVERIFY(otherName.tryAcquire());
}

void TestInstanceLock::releasedWhenTheCopyEnds() {
    {
        InstanceLock first;
        QVERIFY(first.tryAcquire());
    }
    InstanceLock next;
    QVERIFY(next.tryAcquire());
}

void TestInstanceLock::crashedCopyDoesNotBlock() {
    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        InstanceLock lock;
        const char ok = lock.tryAcquire() ? '1' : '0';
        (void)::write(ready[1], &ok, 1);
        ::pause(); // killed below, without any clean-up
        ::_exit(0);
    }
    char ok = 0;
    QCOMPARE(::read(ready[0], &ok, 1), ssize_t(1));
    QCOMPARE(ok, '1');
    InstanceLock whileRunning;
    QVERIFY(!whileRunning.tryAcquire());
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    InstanceLock afterCrash;
    QVERIFY(afterCrash.tryAcquire());
    ::close(ready[0]);
    ::close(ready[1]);
}

void TestInstanceLock::lockLivesInTheRuntimeFolder() {
    QCOMPARE(InstanceLock().path(), runtime_.filePath("PTolvMenu.lock"));
}

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instance_lock.moc"
