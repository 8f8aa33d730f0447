// Fuzz target: a comment file of arbitrary bytes decoded, and the text encoded in each of the
// comment encodings and decoded again.
#include "logging/report_comment.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = DecodeComment(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    // A broken UTF-16 file decodes to lone surrogates, which no encoding can write back.
    const bool wellFormed = QString::fromUtf8(text.toUtf8()) == text;
    for (const CommentEncoding encoding :
         {CommentEncoding::Windows1251, CommentEncoding::Utf8Bom, CommentEncoding::Utf16LeBom, CommentEncoding::Utf16BeBom}) {
        const QByteArray bytes = EncodeComment(text, encoding);
        const QString again = DecodeComment(bytes);
        // The Unicode encodings keep every character; line breaks are the only thing a
        // comment file normalises.
        if (wellFormed && encoding != CommentEncoding::Windows1251 && !text.contains(QLatin1Char('\r')) && again != text)
            __builtin_trap();
    }
    return 0;
}
