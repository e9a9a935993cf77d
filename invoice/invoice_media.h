// The media step: the trial's invoices of tIN010 and the blank numbers of the end month's
// ranges turned into the record table tIN030, its counts and totals shown, and the media file
// written from it for the tax office.
#pragma once

#include "invoice/result_lines.h"

class DataModule;
class Progress;

struct InvoiceMediaParams {
    QString start, end; // the screen's e01, e02: yyyy/MM
    QString file;       // the file to write; empty: defaultMediaFilePath() of the station's uid
};

struct InvoiceMediaResult {
    QString file;    // the file written
    int records = 0; // its records
};

extern const char* const tin020CreateStatement;
extern const char* const tin030CreateStatement;

// Runs the media step (the caller has asked for confirmation) and sends its result lines to
// `lines`, the last of them "  轉檔筆數 : " and the number of records, before the file is
// written. Throws InputRefused "起迄年月 錯誤..." when a field is not a month yyyy/MM. Throws
// DbError, before any file is touched, when the station's uid or tax_id is malformed, when no
// trial was ever run on the database, when tIN010 holds invoices of months outside the fields'
// months, for a failed statement, and naming the invoice and the field when a value does not
// fit its place in the file, and when there is no record to write. Throws FileError when the file
// cannot be written; an older file then stays as it was. Steps `progress` per step, block and
// record; begin() and end() are the caller's. tIN020 and tIN030 stay on the connection until it
// closes.
InvoiceMediaResult runInvoiceMedia(DataModule& dm, const InvoiceMediaParams& params,
                                   Progress& progress, const ResultLines& lines);
