#include "support/test_database.h"

#include "build_settings.h"
#include "db/connection.h"
#include "db/db_error.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>
#include <libpq-fe.h>

namespace testdb {

QString host() {
    return qEnvironmentVariable("TOLVAR_TEST_PGHOST");
}
int port() {
    return qEnvironmentVariableIntValue("TOLVAR_TEST_PGPORT");
}
bool available() {
    return !host().isEmpty() && port() > 0;
}

namespace {

void requireCluster() {
    if (!available())
        throw DbError(QStringLiteral("TOLVAR_TEST_PGHOST/TOLVAR_TEST_PGPORT are not set: run the "
                                     "tests with scripts/test.sh"));
}

QString templateName(const TrialSchemaOptions& o, bool withTables) {
    if (!withTables) return QStringLiteral("template0");
    return QStringLiteral("pos_tmpl_%1%2")
        .arg(o.older ? "older" : "current", o.charCodes ? "_char" : "");
}

QSet<QString>& madeTemplates() {
    static QSet<QString> made;
    return made;
}

void makeTemplate(const QString& name, const TrialSchemaOptions& options) {
    if (madeTemplates().contains(name)) return;
    if (adminValue(
            QStringLiteral("select count(*) from pg_database where datname = '%1'").arg(name),
            "postgres") == "0") {
        admin(QStringLiteral("create database %1 encoding 'SQL_ASCII' lc_collate 'C' lc_ctype 'C' "
                             "template template0")
                  .arg(name));
        Connection cn;
        configure(cn, name);
        createTrialTables(cn, options);
        cn.disconnect();
    }
    madeTemplates().insert(name);
}

} // namespace

void configure(Connection& cn, const QString& database) {
    requireCluster();
    cn.settings().host = host();
    cn.settings().port = port();
    cn.settings().database = database;
    cn.settings().user = QStringLiteral("sa");
    cn.settings().password = QStringLiteral(TOLVAR_DB_PASSWORD);
}

void admin(const QString& sql, const QString& database) {
    Connection cn;
    configure(cn, database);
    cn.exec(sql);
}

QString adminValue(const QString& sql, const QString& database) {
    Connection cn;
    configure(cn, database);
    cn.connect();
    PgResult result = cn.run(cn.codec().encode(sql));
    if (PQntuples(result.get()) == 0 || PQgetisnull(result.get(), 0, 0)) return {};
    return QString::fromLatin1(PQgetvalue(result.get(), 0, 0), PQgetlength(result.get(), 0, 0));
}

void recreate(const TrialSchemaOptions& options, bool withTables, const QString& name) {
    requireCluster();
    const QString from = templateName(options, withTables);
    if (withTables) makeTemplate(from, options);
    admin(QStringLiteral("drop database if exists %1 with (force)").arg(name));
    admin(QStringLiteral("create database %1 encoding 'SQL_ASCII' lc_collate 'C' lc_ctype 'C' "
                         "template %2 strategy file_copy")
              .arg(name, from));
}

void recreateWithEncoding(const QString& name, const QString& encoding) {
    requireCluster();
    admin(QStringLiteral("drop database if exists %1 with (force)").arg(name));
    admin(QStringLiteral("create database %1 encoding '%2' lc_collate 'C' lc_ctype 'C' template "
                         "template0")
              .arg(name, encoding));
    Connection cn;
    configure(cn, name);
    createTrialTables(cn);
}

void writeConfig(const QString& folder, const QStringList& lines) {
    QFile file(QDir(folder).filePath(QStringLiteral("config.ini")));
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write config.ini");
    file.write("[Global]\r\n");
    for (const QString& line : lines)
        file.write(line.toUtf8() + "\r\n");
}

QString restartCommand() {
    return qEnvironmentVariable("TOLVAR_TEST_RESTART");
}

} // namespace testdb
