#include "invoice/media_file.h"

#include "app/progress.h"
#include "db/db_error.h"
#include "reports/common/file_error.h"
#include "reports/common/rounding.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool allDigits(const QString& text) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

bool isCapital(QChar c) {
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

// The refusal of a record whose `field` (positions `place`) cannot hold `value`.
[[noreturn]] void refuse(const MediaRecord& r, const QString& field, const QString& place,
                         const QString& value, const QString& why) {
    throw DbError(QStringLiteral("媒體檔未寫入：發票 %1 的%2「%3」%4 (媒體檔第 %5 位)")
                      .arg(r.tinv2.isEmpty() ? QStringLiteral("(無號碼)") : r.tinv2, field, value,
                           why, place));
}

// A whole number of at most `width` digits, zero-filled: the value rounded, halves away
// from zero.
QString wholeNumber(const MediaRecord& r, const Value& value, int width, const QString& field,
                    const QString& place) {
    const double number = value.isNull() ? 0.0 : value.toDouble();
    const RoundedDecimal rounded = roundDecimal(number, 0);
    if (rounded.negative) refuse(r, field, place, value.toText(), QStringLiteral("是負數"));
    if (int(rounded.integer.size()) > width)
        refuse(r, field, place, value.toText(), QStringLiteral("超過 %1 位數").arg(width));
    return QString::fromStdString(rounded.integer).rightJustified(width, QLatin1Char('0'));
}

// `text` filled with spaces on the right to `width`.
QString padded(const QString& text, int width) {
    return text.leftJustified(width, QLatin1Char(' '));
}

} // namespace

QByteArray mediaRecordText(const MediaRecord& r, int serial, const MediaStation& station) {
    const QString tp = r.tp.trimmed();
    const QString format = tp == QLatin1String("2")   ? QStringLiteral("32")
                           : tp == QLatin1String("3") ? QStringLiteral("35")
                                                      : QStringLiteral("  ");
    if (serial < 1 || serial > 9999999)
        throw DbError(QStringLiteral("媒體檔未寫入：超過 9999999 筆記錄"));
    const QString month = r.tyymm.trimmed();
    if (month.size() != 5 || !allDigits(month))
        refuse(r, QStringLiteral("年月"), QStringLiteral("19-23"), r.tyymm,
               QStringLiteral("不是五位數字"));
    const QString buyer = r.tinv1.trimmed();
    if (!buyer.isEmpty() && (buyer.size() != 8 || !allDigits(buyer)))
        refuse(r,
               r.type2.trimmed() == QLatin1String("A") ? QStringLiteral("迄號")
                                                       : QStringLiteral("買受人統一編號"),
               QStringLiteral("24-31"), r.tinv1, QStringLiteral("不是 8 位數字"));
    const QString number = r.tinv2.trimmed();
    if (number.size() != 10 || !isCapital(number[0]) || !isCapital(number[1]) ||
        !allDigits(number.mid(2)))
        refuse(r, QStringLiteral("發票號碼"), QStringLiteral("40-49"), r.tinv2,
               QStringLiteral("不是兩個大寫英文字母加八位數字"));
    const QString type1 = r.type1.trimmed(), type2 = r.type2.trimmed();
    if (type1.size() > 1 || type2.size() > 1 ||
        (!type1.isEmpty() && !isCapital(type1[0]) && !allDigits(type1)) ||
        (!type2.isEmpty() && !isCapital(type2[0])))
        refuse(r, QStringLiteral("類別"), QStringLiteral("62, 80"), type1 + type2,
               QStringLiteral("不是一個字元的類別"));

    QString line;
    line.reserve(81);
    line += format;                                                                       // 1-2
    line += station.taxId;                                                                // 3-11
    line += QStringLiteral("%1").arg(serial, 7, 10, QLatin1Char('0'));                    // 12-18
    line += month;                                                                        // 19-23
    line += padded(buyer, 8);                                                             // 24-31
    line += station.uid;                                                                  // 32-39
    line += number;                                                                       // 40-49
    line += wholeNumber(r, r.amt, 12, QStringLiteral("銷售額"), QStringLiteral("50-61")); // 50-61
    line += padded(type1, 1);                                                             // 62
    line += wholeNumber(r, r.tax, 10, QStringLiteral("稅額"), QStringLiteral("63-72"));   // 63-72
    line += QString(7, QLatin1Char(' '));                                                 // 73-79
    line += padded(type2, 1);                                                             // 80
    line += QLatin1Char(' ');                                                             // 81
    return line.toLatin1();
}

void checkMediaStation(const MediaStation& station) {
    if (station.taxId.size() != 9 || !allDigits(station.taxId))
        throw DbError(QStringLiteral("媒體檔未寫入：加油站的稅籍編號 (set_system 的 tax_id)"
                                     "「%1」不是 9 位數字")
                          .arg(station.taxId));
    if (station.uid.size() != 8 || !allDigits(station.uid))
        throw DbError(QStringLiteral("媒體檔未寫入：加油站的統一編號 (set_system 的 uid)"
                                     "「%1」不是 8 位數字")
                          .arg(station.uid));
}

QByteArray mediaFileContent(const QList<MediaRecord>& records, const MediaStation& station,
                            Progress* progress) {
    checkMediaStation(station);
    QByteArray content;
    content.reserve(records.size() * 83);
    int serial = 0;
    for (const MediaRecord& r : records) {
        content += mediaRecordText(r, ++serial, station);
        content += "\r\n";
        if (progress) progress->step();
    }
    return content;
}

void writeMediaFile(const QString& path, const QByteArray& content) {
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        throw FileError(QStringLiteral("媒體檔未寫入：資料夾 %1 不存在 (檔案 %2)")
                            .arg(QDir::toNativeSeparators(info.absolutePath()),
                                 QDir::toNativeSeparators(info.absoluteFilePath())),
                        path);
    QSaveFile file(path);
    // Unbuffered, so that a write cut short (a full disk) says so here: a buffered QSaveFile
    // can report success for a file it wrote only in part.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileError(
            QStringLiteral("媒體檔未寫入：無法建立 %1：%2")
                .arg(QDir::toNativeSeparators(info.absoluteFilePath()), file.errorString()),
            path);
    const qint64 written = file.write(content);
    QString why;
    if (written != content.size())
        why = written < 0 ? file.errorString()
                          : QStringLiteral("只寫入 %1 / %2 位元組，磁碟可能已滿")
                                .arg(written)
                                .arg(content.size());
    else if (!file.commit())
        why = file.errorString();
    if (!why.isEmpty()) {
        file.cancelWriting();
        throw FileError(QStringLiteral("媒體檔未寫入：寫入 %1 時失敗：%2；原有的檔案維持原狀")
                            .arg(QDir::toNativeSeparators(info.absoluteFilePath()), why),
                        path);
    }
}

QString defaultMediaFilePath(const QString& uid) {
    return QDir(QDir::homePath()).filePath(QStringLiteral("Export/%1.TXT").arg(uid));
}
