#include "app/config.h"

#include "db/text_codec.h"

#include <QFile>

IniFile IniFile::load(const QString& path) {
    IniFile ini;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ini;
    QByteArray bytes = file.readAll();
    ini.exists_ = true;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        ini.text_ = QString::fromUtf8(bytes.mid(3));
    else
        ini.text_ = TextCodec().decode(bytes);
    return ini;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    bool inSection = false;
    for (QStringView line : QStringView(text_).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype end = line.indexOf(QLatin1Char(']'));
            const QStringView name = line.mid(1, end < 0 ? -1 : end - 1).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed().toString();
    }
    return std::nullopt;
}

StartupConfig readStartupConfig(const QString& path, const QString& defaultHost) {
    StartupConfig config;
    const IniFile ini = IniFile::load(path);
    const QString host = ini.value("Global", "DBServerName").value_or(QString());
    if (host.isEmpty()) {
        config.host = defaultHost;
        return config;
    }
    config.host = host;
    config.fromFile = true;
    config.monitor = ini.value("Global", "DBMonitor").value_or(QString());
    const std::optional<QString> port = ini.value("Global", "DBPort");
    bool ok = false;
    const int number = port ? port->toInt(&ok) : 0;
    if (!port || port->isEmpty())
        config.error = QStringLiteral("config.ini 的 [Global] 設定了 DBServerName，卻沒有 DBPort");
    else if (!ok || number < 1 || number > 65535)
        config.error = QStringLiteral("config.ini 的 DBPort「%1」不是有效的通訊埠號碼 (1 到 65535)")
                           .arg(*port);
    else
        config.port = number;
    return config;
}
