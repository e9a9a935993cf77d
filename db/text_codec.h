// Conversion between the program's QString and the bytes of the station database and its
// files: Big5 (code page 950 with the ETEN extensions), or UTF-8 on a UTF-8 database.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <memory>

class TextCodec {
public:
    enum class Encoding { Big5, Utf8 };

    explicit TextCodec(Encoding encoding = Encoding::Big5);
    TextCodec(const TextCodec& other) : TextCodec(other.encoding_) {}
    TextCodec& operator=(const TextCodec& other);

    Encoding encoding() const { return encoding_; }

    // Bytes of `text`. Throws DbError naming the first character the encoding cannot hold
    // (an emoji, a Simplified-only character) or a NUL character, so that nothing is
    // silently stored as "?".
    QByteArray encode(QStringView text) const;
    // Bytes of `text`; characters the encoding cannot hold become "?". For trace files.
    QByteArray encodeLossy(QStringView text) const;
    // Text of `size` bytes at `data`; bytes that are not valid become U+FFFD.
    QString decode(const char* data, qsizetype size) const;
    QString decode(const QByteArray& bytes) const {
        return decode(bytes.constData(), bytes.size());
    }

private:
    void renewEncoder() const;

    Encoding encoding_;
    // ICU converters are costly to open: each codec keeps one of each, reset per call.
    mutable std::unique_ptr<QStringEncoder> encoder_;
    std::unique_ptr<QStringDecoder> decoder_;
};
