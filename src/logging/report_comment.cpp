#include "logging/report_comment.h"

#include "logging/cp1251.h"
#include "logging/report_file_error.h"
#include "logging/report_pool.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LeBom("\xFF\xFE", 2);
const QByteArray kUtf16BeBom("\xFE\xFF", 2);

CommentEncoding encodingOf(const QByteArray& head)
{
    if (head.startsWith(kUtf8Bom))
        return CommentEncoding::Utf8Bom;
    if (head.startsWith(kUtf16LeBom))
        return CommentEncoding::Utf16LeBom;
    if (head.startsWith(kUtf16BeBom))
        return CommentEncoding::Utf16BeBom;
    return CommentEncoding::Windows1251;
}

QByteArray encodeWith(QStringConverter::Encoding encoding, const QString& text)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}
}  // namespace

QString CommentFilePath(const QString& poolDir, const QString& reportFileName)
{
    return ReportFilePath(poolDir, ChangeFileExt(reportFileName, QStringLiteral(".txt")));
}

CommentEncoding CommentFileEncoding(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return CommentEncoding::Windows1251;
    return encodingOf(file.read(3));
}

QString DecodeComment(const QByteArray& bytes)
{
    QString text;
    switch (encodingOf(bytes)) {
    case CommentEncoding::Utf8Bom:
        text = QStringDecoder(QStringConverter::Utf8).decode(bytes.mid(3));
        break;
    case CommentEncoding::Utf16LeBom:
        text = QStringDecoder(QStringConverter::Utf16LE).decode(bytes.mid(2));
        break;
    case CommentEncoding::Utf16BeBom:
        text = QStringDecoder(QStringConverter::Utf16BE).decode(bytes.mid(2));
        break;
    case CommentEncoding::Windows1251:
        text = DecodeWindows1251(bytes);
        break;
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QByteArray EncodeComment(const QString& text, CommentEncoding encoding)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    switch (encoding) {
    case CommentEncoding::Windows1251:
        if (const auto bytes = EncodeWindows1251(lines))
            return *bytes;
        // The code page has no place for some character: keep them all rather than lose one.
        return encodeWith(QStringConverter::Utf8, lines);
    case CommentEncoding::Utf8Bom:
        return encodeWith(QStringConverter::Utf8, lines);
    case CommentEncoding::Utf16LeBom:
        return encodeWith(QStringConverter::Utf16LE, lines);
    case CommentEncoding::Utf16BeBom:
        return encodeWith(QStringConverter::Utf16BE, lines);
    }
    return {};
}

std::optional<QString> LoadComment(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        return std::nullopt;
    return DecodeComment(bytes);
}

void SaveComment(const QString& filePath, const QString& text)
{
    const QByteArray bytes = EncodeComment(text, CommentFileEncoding(filePath));
    const QFileInfo info(filePath);
    if (info.exists() && !info.isWritable())  // the file is replaced whole, but never a read-only one
        throw ReportFileError::cannotCreate(info.absoluteFilePath(), QStringLiteral("Permission denied"));
    QSaveFile file(filePath);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw ReportFileError::cannotCreate(QFileInfo(filePath).absoluteFilePath(), file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        throw ReportFileError(QStringLiteral("Stream write error"));
    }
}
