// The invoice media file that the station files with the tax office: fixed records of 81
// characters and CR LF, one per row of the record table tIN030, written whole or not at all.
#pragma once

#include "db/value.h"

#include <QByteArray>
#include <QList>
#include <QString>

class Progress;

// A row of tIN030.
struct MediaRecord {
    QString tp;    // invoice form: "2" two-part, "3" three-part
    QString tyymm; // ROC month code
    QString tinv1; // buyer's business number; the last number's digits on a run of numbers
    QString tinv2; // invoice number; the first number of a run
    Value amt, tax;
    QString type1; // "1" taxable, "3" tax-free, "F" voided, "D" blank numbers
    QString type2; // "A" on a run of numbers, else empty
};

// The station's identity on every record.
struct MediaStation {
    QString taxId; // tax registration number, 9 digits
    QString uid;   // unified business number, 8 digits
};

// The 81 characters of `record` as the `serial`-th record of the file (from 1), without the
// line end. Throws DbError naming the invoice and the field when a value does not fit its
// field: a negative amount or tax, more than 12 digits of amount or 10 of tax, a buyer
// number that is neither empty nor 8 digits, an invoice number that is not two capital
// letters and eight digits, a month code that is not five digits, a serial over 7 digits.
QByteArray mediaRecordText(const MediaRecord& record, int serial, const MediaStation& station);

// Throws DbError when the station's tax_id is not 9 digits or its uid not 8: every record
// carries both, and the file is named after the uid.
void checkMediaStation(const MediaStation& station);

// The whole file: every record and CR LF, numbered from 1 in the order given; `progress`, when
// given, steps once per record. Throws DbError as mediaRecordText and checkMediaStation do.
QByteArray mediaFileContent(const QList<MediaRecord>& records, const MediaStation& station,
                            Progress* progress = nullptr);

// Writes `content` as the file `path`: into a temporary file in the same folder, which
// replaces an older file of that name only once everything was written, so a failure leaves
// the older file as it was and no partial file. The folder is not created. Throws FileError
// saying what failed and naming the file.
void writeMediaFile(const QString& path, const QByteArray& content);

// Where the screen writes the media file: the folder Export in the user's home folder (the
// counterpart of \Export\ at the root of the current drive), the file named after the
// station's unified business number: ~/Export/12345678.TXT.
QString defaultMediaFilePath(const QString& uid);
