#include "reports/common/sylk_writer.h"

#include "db/column.h"
#include "db/db_error.h"
#include "db/query.h"
#include "db/text_codec.h"
#include "reports/common/file_error.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cmath>

namespace {

constexpr PgOid BpcharOid = 1042;

// Title row: bold, bordered, centred; data cells bold and bordered, numbers to the right.
const QString GridStyle = QStringLiteral("SDLRTB");
const QString TitleStyle = QStringLiteral("SD");
const QString AlignCentre = QStringLiteral(";FG0C");
const QString AlignRight = QStringLiteral(";FG0R");
const QString AlignLeft = QStringLiteral(";FG0L");

// `x` with up to 15 significant digits, no trailing zeros and never an exponent (a
// spreadsheet reads 1e+20 but a person expects the digits); empty when `x` is no finite
// number, since "NaN" in a numeric cell is no number to the spreadsheet either.
QString plainNumber(double x) {
    if (!std::isfinite(x)) return {};
    if (x == 0) return QStringLiteral("0");
    const QString e = QString::number(std::fabs(x), 'e', 14); // d.dddddddddddddde+xx
    const qsizetype at = e.indexOf(QLatin1Char('e'));
    QString digits = e.left(at).remove(QLatin1Char('.'));
    const int exponent = e.mid(at + 1).toInt();
    while (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    const int point = exponent + 1; // digits before the decimal point
    QString text;
    if (point <= 0)
        text = QStringLiteral("0.") + QString(-point, QLatin1Char('0')) + digits;
    else if (point >= digits.size())
        text = digits + QString(point - digits.size(), QLatin1Char('0'));
    else
        text = digits.left(point) + QLatin1Char('.') + digits.mid(point);
    return x < 0 ? QLatin1Char('-') + text : text;
}

// The text a grid shows for `value` of `column`.
QString displayText(const Value& value, const Column& column) {
    if (value.isNull()) return {};
    if (isNumericKind(column.kind) && value.type() == Value::Type::Float)
        return plainNumber(std::get<double>(value.raw()));
    QString text = value.toText();
    if (column.type == BpcharOid) { // the blank padding of char(n) is not shown
        qsizetype n = text.size();
        while (n > 0 && text[n - 1] == QLatin1Char(' '))
            --n;
        text.truncate(n);
    }
    return text;
}

// Line breaks and ";" would end the record or its field.
QString cleaned(QString text) {
    text.replace(QLatin1Char('\n'), QStringLiteral("  "));
    text.replace(QLatin1Char('\r'), QStringLiteral("  "));
    text.replace(QLatin1Char(';'), QStringLiteral("  "));
    return text;
}

// Width in characters of column `c` of `data` before the column name is considered.
int displayWidth(const Query& data, int c, const TextCodec& codec) {
    const Column& column = data.columns()[c];
    switch (column.kind) {
    case FieldKind::Text: {
        if (column.size > 0) return column.size;
        // Text without a declared length: as wide as its longest value.
        qsizetype widest = 10;
        for (int r = 0; r < data.recordCount(); ++r)
            widest = std::max(
                widest, codec.encodeLossy(cleaned(displayText(data.value(r, c), column))).size());
        return int(std::min<qsizetype>(widest, 255));
    }
    case FieldKind::SmallInt:
        return 6; // -32768
    case FieldKind::Integer:
        return 11; // -2147483648
    case FieldKind::BigInt:
        return 20; // -9223372036854775808
    case FieldKind::Date:
        return 10;
    case FieldKind::Time:
        return 8;
    case FieldKind::DateTime:
        return 19;
    case FieldKind::Boolean:
        return 5; // False
    case FieldKind::Float:
    case FieldKind::Decimal:
    case FieldKind::Other:
        break;
    }
    return 10;
}

// Remembers the current row and suspends display updates; puts both back when it goes.
class RowKeeper {
public:
    explicit RowKeeper(Query& data) : data_(data), mark_(data.bookmark()) {
        data_.disableControls();
    }
    ~RowKeeper() {
        // Runs while an error unwinds: a handler that throws on the way back must not end
        // the program, and the views must get their updates back in any case.
        try {
            data_.gotoBookmark(mark_);
        } catch (...) {
        }
        try {
            data_.enableControls();
        } catch (...) {
        }
    }
    RowKeeper(const RowKeeper&) = delete;
    RowKeeper& operator=(const RowKeeper&) = delete;

private:
    Query& data_;
    Bookmark mark_;
};

} // namespace

// The file being written. A file goes to a temporary file beside it that takes the old
// file's place only when the export ends: a failure leaves the older file as it was and no
// partial file. A device or pipe named as the file (/dev/stdout) is written directly.
// Lines are gathered here and written in large pieces, each checked, so that a full disk
// is reported where it happens and never taken for success.
struct TsxYSLK::Output {
    explicit Output(const QString& name) {
        const QFileInfo info(name);
        if (info.exists() && !info.isFile() && !info.isDir())
            file = std::make_unique<QFile>(name);
        else
            file = std::make_unique<QSaveFile>(name);
    }
    bool open() { return file->open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    // Writes what is gathered; false when the file did not take all of it.
    bool flush() {
        if (pending.isEmpty()) return true;
        const bool whole = file->write(pending) == pending.size();
        pending.clear();
        return whole;
    }
    // Puts the finished file in place (or closes the device); false when that failed.
    bool finish() {
        if (!flush()) return false;
        if (auto* save = qobject_cast<QSaveFile*>(file.get())) return save->commit();
        file->close();
        return file->error() == QFileDevice::NoError;
    }
    std::unique_ptr<QFileDevice> file; // a QSaveFile, or a QFile for a device
    QByteArray pending;
    TextCodec codec{TextCodec::Encoding::Big5};
};

TsxYSLK::TsxYSLK()
    : FontList{QStringLiteral("P;FMS Sans Serif;M240"), QStringLiteral("P;FMS Sans Serif;M240"),
               QStringLiteral("P;FMS Sans Serif;M240"), QStringLiteral("P;FMS Sans Serif;M240"),
               QStringLiteral("P;EMS Sans Serif;M240"), QStringLiteral("P;EMS Sans Serif;M180")} {}

TsxYSLK::~TsxYSLK() = default;

void TsxYSLK::setFonts(const QStringList& lines) {
    FontList = lines;
}

TsxYSLK::Output& TsxYSLK::output() {
    if (!out_) throw FileError(QStringLiteral("檔案「%1」尚未開始寫入").arg(FileName), FileName);
    return *out_;
}

void TsxYSLK::fail() {
    QString reason = out_->file->errorString();
    if (out_->file->error() == QFileDevice::NoError || reason.isEmpty())
        reason = qt_error_string(ENOSPC); // a write cut short without an error: the disk is full
    out_.reset(); // no handle is kept on a file that failed; an unfinished one is removed
    throw FileError(QStringLiteral("無法寫入檔案「%1」：%2").arg(FileName, reason), FileName);
}

void TsxYSLK::put(const QString& line) {
    Output& out = output();
    out.pending += out.codec.encodeLossy(line);
    out.pending += "\r\n";
    constexpr qsizetype piece = 16 * 1024;
    if (out.pending.size() >= piece && !out.flush()) fail();
}

void TsxYSLK::putCell(const QString& style, int font, const QString& align, int x, int y,
                      const QString& text, bool quoted) {
    const QString at = QStringLiteral(";X%1;Y%2").arg(x).arg(y);
    put(QStringLiteral("F;") + style + QLatin1Char('M') + QString::number(font) + align + at);
    const QString value = cleaned(text);
    put(QStringLiteral("C") + at + QStringLiteral(";K") +
        (quoted ? QLatin1Char('"') + value + QLatin1Char('"') : value));
}

void TsxYSLK::begin() {
    out_.reset();
    // The temporary file would hide why the file itself cannot be made: say it as the system
    // would for the file.
    const QFileInfo info(FileName);
    const QFileInfo folder(info.absolutePath());
    // A device (/dev/stdout) is written in place: only its own permission counts, not its
    // folder's, which an ordinary user may not write into.
    const bool device = info.exists() && !info.isFile() && !info.isDir();
    const int refused = info.isDir()                                                    ? EISDIR
                        : device                                                        ? 0
                        : !folder.exists()                                              ? ENOENT
                        : !folder.isDir()                                               ? ENOTDIR
                        : !folder.isWritable() || (info.exists() && !info.isWritable()) ? EACCES
                                                                                        : 0;
    if (refused)
        throw FileError(
            QStringLiteral("無法建立檔案「%1」：%2").arg(FileName, qt_error_string(refused)),
            FileName);
    auto out = std::make_unique<Output>(FileName);
    if (!out->open())
        throw FileError(
            QStringLiteral("無法建立檔案「%1」：%2").arg(FileName, out->file->errorString()),
            FileName);
    out_ = std::move(out);
    put(QStringLiteral("ID;PYSLK;N;E"));
    for (const QString& font : FontList)
        put(font);
}

void TsxYSLK::writeGrid(Query& data, const QList<ExportColumn>& columns) {
    const TextCodec& codec = output().codec;
    struct Shown {
        int index;
        QString title;
        bool numeric;
    };
    QList<Shown> shown;
    for (const ExportColumn& c : columns) {
        if (!c.visible) continue;
        const int index = data.fieldIndex(c.field);
        if (index < 0)
            throw DbError(QStringLiteral("查詢結果沒有欄位「%1」，無法匯出").arg(c.field));
        shown.append({index, c.title, isNumericKind(data.columns()[index].kind)});
    }

    RowKeeper keeper(data);
    for (int k = 0; k < shown.size(); ++k) {
        int width = displayWidth(data, shown[k].index, codec);
        if (BestFieldWidth)
            width =
                std::max(width, int(codec.encodeLossy(data.columns()[shown[k].index].name).size()));
        put(QStringLiteral("F;W%1 %1 %2").arg(GridLeft + k).arg(width));
    }
    for (int k = 0; k < shown.size(); ++k)
        putCell(GridStyle, GridTitleFont, AlignCentre, GridLeft + k, GridTop, shown[k].title, true);

    int r = 0;
    data.first();
    while (!data.eof()) {
        ++r;
        for (int k = 0; k < shown.size(); ++k) {
            const Shown& s = shown[k];
            const QString text =
                displayText(data.value(data.recNo(), s.index), data.columns()[s.index]);
            putCell(GridStyle, GridFont, s.numeric ? AlignRight : AlignLeft, GridLeft + k,
                    GridTop + r, text, !s.numeric);
        }
        data.next();
    }
}

void TsxYSLK::end() {
    Output& out = output();
    if (!Title.trimmed().isEmpty())
        putCell(TitleStyle, TitleFont, AlignLeft, TitleLeft, TitleTop, Title, true);
    put(QStringLiteral("E"));
    if (!out.finish()) fail();
    const QString path = QFileInfo(FileName).absoluteFilePath();
    out_.reset();
    if (!Visible) return;
    if (openFile)
        openFile(path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
