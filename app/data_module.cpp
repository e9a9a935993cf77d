#include "app/data_module.h"

#include "build_settings.h"
#include "db/date_formats.h"
#include "db/db_error.h"

#include <QCoreApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QMetaMethod>
#include <QThread>
#include <cstdio>

DataModule* DM = nullptr;

DataModule::DataModule(QObject* parent)
    : QObject(parent), qy(cn), qy1(cn), qy2(cn), dsqy(&qy), dsqy1(&qy1) {
    cn.setMonitor(&sqlm);
    cn.settings().host = QStringLiteral(TOLVAR_DEFAULT_HOST);
    cn.settings().password = QStringLiteral(TOLVAR_DB_PASSWORD);
    cn.afterConnect = [this] { cnAfterConnect(); };
    sqlm.onFileError = [this](const QString& message) {
        if (isSignalConnected(QMetaMethod::fromSignal(&DataModule::traceFileFailed)))
            emit traceFileFailed(message);
        else
            std::fprintf(stderr, "tolvar: %s\n", message.simplified().toUtf8().constData());
    };
    Timer1.setInterval(10000);
    connect(&Timer1, &QTimer::timeout, this, &DataModule::Timer1Timer);
    DM = this;
}

DataModule::~DataModule() {
    Timer1.stop();
    if (DM == this) DM = nullptr;
}

QString DataModule::DataModuleCreate() {
    formats::applyProcessFormats();
    // A short pause that lets the splash window paint.
    const QDeadlineTimer pause(100);
    while (!pause.hasExpired()) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    config_ = readStartupConfig(configPath, QStringLiteral(TOLVAR_DEFAULT_HOST));
    if (!config_.error.isEmpty()) return config_.error;
    monitor_ = config_.monitor;
    cn.settings().host = config_.host;
    cn.settings().port = config_.port;
    QString warning;
    try {
        qy1.close();
        qy1.setSql(QStringLiteral("SELECT * FROM set_system "));
        qy1.open();
        warning = readStationSettings(qy1, settings);
    } catch (const DbError& e) {
        return e.message();
    }
    Timer1.start();
    return warning;
}

void DataModule::cnAfterConnect() {
    if (monitor_ != QLatin1String("Y")) return;
    sqlm.setFileName(QStringLiteral("M") +
                     QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    sqlm.setAutoSave(true);
    sqlm.setActive(true);
}

void DataModule::Timer1Timer() {
    cn.ping();
}

TankStockSummary DataModule::RecomputeTankStock(const QString& startKey, Progress& progress) {
    return recomputeTankStock(*this, startKey, progress);
}
