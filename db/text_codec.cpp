#include "db/text_codec.h"

#include "db/db_error.h"

namespace {

const char* encodingName(TextCodec::Encoding encoding) {
    // "windows-950" is ICU's code page 950 with the ETEN extensions (碁, 銹, 裏, €);
    // "CP950" would select IBM-950, which lacks them.
    return encoding == TextCodec::Encoding::Big5 ? "windows-950" : "UTF-8";
}

bool isAscii(QStringView text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

bool isAscii(const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80) return false;
    return true;
}

} // namespace

TextCodec::TextCodec(Encoding encoding)
    : encoding_(encoding), encoder_(std::make_unique<QStringEncoder>(encodingName(encoding))),
      decoder_(std::make_unique<QStringDecoder>(encodingName(encoding))) {
    if (!encoder_->isValid() || !decoder_->isValid())
        throw DbError(QStringLiteral("這部電腦的 Qt 沒有 %1 字碼轉換").arg(encodingName(encoding)));
}

TextCodec& TextCodec::operator=(const TextCodec& other) {
    if (this != &other) {
        encoding_ = other.encoding_;
        encoder_ = std::make_unique<QStringEncoder>(encodingName(encoding_));
        decoder_ = std::make_unique<QStringDecoder>(encodingName(encoding_));
    }
    return *this;
}

QByteArray TextCodec::encodeLossy(QStringView text) const {
    if (isAscii(text)) return text.toLatin1();
    encoder_->resetState();
    QByteArray bytes = encoder_->encode(text);
    if (encoder_->hasError()) renewEncoder();
    encoder_->resetState();
    return bytes;
}

void TextCodec::renewEncoder() const {
    // Once Qt's converter has met a character it cannot convert it reports an error for
    // every later text, reset or not: the next text needs a converter of its own. (A moved
    // converter reports no error at all: it is made in place.)
    encoder_ = std::make_unique<QStringEncoder>(encodingName(encoding_));
}

QByteArray TextCodec::encode(QStringView text) const {
    if (text.contains(QChar(0))) throw DbError(QStringLiteral("文字不可含有 NUL 字元"));
    if (isAscii(text)) return text.toLatin1();
    encoder_->resetState();
    QByteArray bytes = encoder_->encode(text);
    const bool failed = encoder_->hasError();
    encoder_->resetState();
    if (!failed) return bytes;
    renewEncoder();
    // Find the character that failed, for a message the user can act on.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringView one = text.mid(i, n);
        QStringEncoder probe(encodingName(encoding_));
        const QByteArray probed = probe.encode(one); // converts only when the bytes are taken
        Q_UNUSED(probed);
        const bool bad = probe.hasError();
        if (bad)
            throw DbError(QStringLiteral("文字「%1」含有無法以 %2 儲存的字元「%3」")
                              .arg(text.toString(),
                                   encoding_ == Encoding::Big5 ? QStringLiteral("Big5")
                                                               : QStringLiteral("UTF-8"),
                                   one.toString()));
        i += n - 1;
    }
    return bytes;
}

// Whether the Big5 bytes end with a lead byte whose second byte is missing (a text cut in
// the middle of a character), which the converter would drop without a trace.
static bool endsInHalfCharacter(const char* data, qsizetype size) {
    qsizetype i = 0;
    while (i < size)
        i += static_cast<unsigned char>(data[i]) >= 0x81 ? 2 : 1;
    return i > size;
}

QString TextCodec::decode(const char* data, qsizetype size) const {
    if (isAscii(data, size)) return QString::fromLatin1(data, size);
    decoder_->resetState();
    QString text = decoder_->decode(QByteArrayView(data, size));
    decoder_->resetState();
    if (encoding_ == Encoding::Big5 && endsInHalfCharacter(data, size)) text += QChar(0xFFFD);
    return text;
}
