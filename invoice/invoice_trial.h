// The invoice trial: the issued invoices of one or two consecutive months of one year, those
// in the active ranges filed under the end month, gathered into the work table tIN010 after a
// check for numbers used twice, with their counts and totals as result lines.
#pragma once

#include "invoice/result_lines.h"

class DataModule;
class Progress;

// The screen's fields as the user sees them.
struct InvoiceTrialParams {
    QString start, end;                       // e01, e02: yyyy/MM
    QString form;                             // e03: "2", "3" or empty
    QString threshold;                        // e04: empty, or a whole amount
    QString adjustment = QStringLiteral("0"); // e05: adjustment per invoice
};

enum class TrialOutcome {
    Done,       // tIN010 rebuilt, counts and totals shown
    Duplicates, // numbers used twice were listed; tIN010 left as it was
};

// The work table of every trial, an ordinary table that the media step reads later.
extern const char* const tin010CreateStatement;

// Runs the trial and sends its result lines to `lines`. Throws InputRefused, before any
// database work, with the screen's message and the field to focus: "起迄年月 錯誤..." when a
// field is not a month yyyy/MM, the years differ or the end month is not the start month or
// the next; "發票型式 錯誤..." and "金額 調整金額 錯誤..." for the hidden fields. Rebuilds
// tIN010 in one transaction that reads one snapshot: on a DbError (an invoice number that
// two overlapping ranges hold, a lost connection) the previous tIN010 stays exactly as it
// was. Steps `progress` once per step and names each; begin() and end() are the caller's.
TrialOutcome runInvoiceTrial(DataModule& dm, const InvoiceTrialParams& params, Progress& progress,
                             const ResultLines& lines);
