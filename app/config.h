// The start-up configuration file config.ini in the working folder: section Global with
// the database server (DBServerName, DBPort) and the SQL trace switch (DBMonitor).
#pragma once

#include <QString>
#include <optional>

// Reads INI files the way the station's Windows tools write them: sections and keys
// without regard to letter case, the first occurrence counts, ";" and "#" start comment
// lines, text in Big5 (or UTF-8 after a byte-order mark).
class IniFile {
public:
    // An empty IniFile when `path` does not exist or cannot be read.
    static IniFile load(const QString& path);
    bool exists() const { return exists_; }
    // The value of `key` in `section`, without the blanks around it; nullopt when absent.
    std::optional<QString> value(const QString& section, const QString& key) const;

private:
    bool exists_ = false;
    QString text_;
};

struct StartupConfig {
    QString host;          // DBServerName, or the built-in default host
    int port = 5432;       // DBPort, or 5432
    QString monitor = "N"; // DBMonitor; only "Y" switches tracing on
    bool fromFile = false; // DBServerName came from config.ini
    QString error;         // why the configuration cannot be used (a bad DBPort), else empty
};

// The configuration of `path` (".\config.ini"): when DBServerName is missing or empty the
// built-in `defaultHost`, port 5432 and no tracing, whatever else the file holds; otherwise
// that host, DBPort (which must then be a whole number from 1 to 65535, else `error` says
// so) and DBMonitor. The file is only read, never written.
StartupConfig readStartupConfig(const QString& path, const QString& defaultHost);
