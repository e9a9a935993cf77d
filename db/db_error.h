// The error of the database layer: a statement the server refused, a lost or failed
// connection, a value that cannot be converted. Carries the text shown to the user.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class DbError : public std::exception {
public:
    // `message` is shown as it stands (the server's own text where the server refused);
    // `sqlState` is the server's five-character SQLSTATE, empty when the error is ours;
    // `code` is the numeric status written to the SQL trace (0 when there is none).
    explicit DbError(QString message, QString sqlState = {}, int code = 0);
    // The same for a statement that failed because the connection to the server was lost:
    // the statement, and a transaction open at the time, did not complete.
    static DbError lost(QString message, QString sqlState = {}, int code = 0);

    const QString& message() const { return message_; }
    const QString& sqlState() const { return sqlState_; }
    int code() const { return code_; }
    // Whether the connection was lost, rather than the statement refused.
    bool connectionLost() const { return lost_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QString sqlState_;
    int code_;
    bool lost_ = false;
    QByteArray utf8_;
};
