// The data module TDM: the one database connection, the shared queries and data sources,
// the SQL trace monitor, the keep-alive timer and the station settings, for the whole run.
#pragma once

#include "app/config.h"
#include "app/station_settings.h"
#include "db/connection.h"
#include "db/data_source.h"
#include "db/query.h"
#include "db/sql_monitor.h"
#include "fuel/tank_stock.h"

#include <QObject>
#include <QTimer>

class DataModule : public QObject {
    Q_OBJECT
public:
    explicit DataModule(QObject* parent = nullptr);
    ~DataModule() override;

    // The start-up steps: formats, config.ini, the first statement (which connects and runs
    // cnAfterConnect), the station settings, the keep-alive. Returns the text to show in a
    // message box when a step failed (a bad DBPort, an unreachable server: start-up then
    // goes on without settings and without keep-alive), or a warning; empty when all went
    // well.
    QString DataModuleCreate();
    // Runs after every connect: with DBMonitor "Y", traces to ".\M" + today as yyyymmdd.
    void cnAfterConnect();
    // The keep-alive, every 10 seconds once started.
    void Timer1Timer();
    // Rebuilds the tank book stock from the business day `startKey` on, all or nothing
    // (recomputeTankStock in fuel/tank_stock.h). Throws DbError; the table is then unchanged.
    TankStockSummary RecomputeTankStock(const QString& startKey, Progress& progress);

    // config.ini, relative to the working folder.
    QString configPath = QStringLiteral("config.ini");
    // What config.ini said, after DataModuleCreate.
    const StartupConfig& config() const { return config_; }

    SqlMonitor sqlm;
    Connection cn;
    Query qy, qy1, qy2;
    DataSource dsqy, dsqy1;
    QTimer Timer1;
    StationSettings settings;

signals:
    // The trace file cannot be written (a full disk, a folder that cannot be written): the
    // message to show. Without a receiver the message goes to stderr as one line.
    void traceFileFailed(const QString& message);

private:
    StartupConfig config_;
    QString monitor_ = QStringLiteral("N");
};

// The program's data module while one exists.
extern DataModule* DM;
