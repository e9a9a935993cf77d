// The refusal of something the user typed: the short message to show and the field to put
// the focus into. Thrown by checks before a row is saved or work starts; nothing is written.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class InputRefused : public std::exception {
public:
    // `field` names the entry field concerned (a component or column name), empty for none.
    explicit InputRefused(QString message, QString field = {})
        : message_(std::move(message)), field_(std::move(field)), utf8_(message_.toUtf8()) {}

    const QString& message() const { return message_; }
    const QString& field() const { return field_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QString field_;
    QByteArray utf8_;
};
