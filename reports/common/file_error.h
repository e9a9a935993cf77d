// The error of a file the program writes (an export, a report file): it could not be created
// or written. Carries the text shown to the user, naming the file and the system's reason.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class FileError : public std::exception {
public:
    // `message` is shown as it stands; `fileName` is the file as the caller named it.
    FileError(QString message, QString fileName)
        : message_(std::move(message)), fileName_(std::move(fileName)), utf8_(message_.toUtf8()) {}

    const QString& message() const { return message_; }
    const QString& fileName() const { return fileName_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QString fileName_;
    QByteArray utf8_;
};
