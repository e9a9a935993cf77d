// Writes a sheet as an Office Open XML workbook (.xlsx), with libxlsxwriter.
#pragma once

#include "reports/common/sheet.h"

class Progress;

namespace rpt {

// Writes `sheet` as the one sheet of the workbook `path`, stepping `progress` once a row.
// The workbook is written beside the old file and put in its place only when whole: throws
// FileError, naming the file and the reason, when it cannot be written, and an older file of
// that name is then left as it was.
void writeXlsx(const Sheet& sheet, const QString& path, Progress* progress = nullptr);

// The sheet name a workbook can hold: at most 31 characters, none of []:*?/\ and no
// apostrophe at either end; "Sheet1" when nothing is left.
QString sheetTabName(const QString& name);

} // namespace rpt
