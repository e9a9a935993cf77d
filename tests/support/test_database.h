// The test cluster that the test command starts: a fresh pos_data for each test, made from
// template databases that already hold the station tables.
#pragma once

#include "db/trial_schema.h"

#include <QString>

class Connection;

namespace testdb {

// Host and port of the test cluster (TOLVAR_TEST_PGHOST, TOLVAR_TEST_PGPORT). Fails the
// running test when the test command did not set them.
QString host();
int port();
// Whether the variables are set; a test that needs the cluster fails without them.
bool available();

// Drops `name` (ending its sessions) and creates it anew, SQL_ASCII with the C locale,
// holding the station tables of `options` (none when `withTables` is false).
void recreate(const TrialSchemaOptions& options = {}, bool withTables = true,
              const QString& name = QStringLiteral("pos_data"));
// Creates `name` with the given server encoding, holding the station tables.
void recreateWithEncoding(const QString& name, const QString& encoding);

// Points `cn` at `database` of the test cluster as the station's user.
void configure(Connection& cn, const QString& database = QStringLiteral("pos_data"));

// Runs `sql` on `database` over a connection of its own, as the tests' administrator.
void admin(const QString& sql, const QString& database = QStringLiteral("postgres"));
// The first column of the first row of `sql` as text (bytes read as Latin-1, so a test can
// look at raw Big5 bytes), over a connection of its own.
QString adminValue(const QString& sql, const QString& database = QStringLiteral("pos_data"));

// Writes config.ini into `folder` with the given lines under [Global].
void writeConfig(const QString& folder, const QStringList& lines);

// The command that restarts the test cluster (TOLVAR_TEST_RESTART), empty when unknown.
QString restartCommand();

} // namespace testdb
