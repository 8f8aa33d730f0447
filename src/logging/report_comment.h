// Comment files of the report pool (<name>.txt): lines separated by CR LF, no line break after
// the last line; Windows-1251 without a byte-order mark, or UTF-8 / UTF-16 when the file
// starts with that encoding's byte-order mark.
#pragma once

#include <QString>

#include <optional>

enum class CommentEncoding { Windows1251, Utf8Bom, Utf16LeBom, Utf16BeBom };

// The comment file of a report: its file name with the extension replaced by ".txt".
QString CommentFilePath(const QString& poolDir, const QString& reportFileName);

// The encoding a comment file is written in: the one of its byte-order mark, Windows-1251
// for a file without one or a missing file.
CommentEncoding CommentFileEncoding(const QString& filePath);

// The comment with its lines separated by "\n", or nothing when the file is absent or cannot
// be read (the dialog then shows its placeholder).
std::optional<QString> LoadComment(const QString& filePath);

// Writes the comment (lines separated by "\n" or CR LF), replacing the file. An existing file
// keeps the encoding of its byte-order mark; otherwise Windows-1251, or UTF-8 with its
// byte-order mark when Windows-1251 cannot hold every character. Throws ReportFileError.
void SaveComment(const QString& filePath, const QString& text);

// The comment file's bytes for the text in an encoding, byte-order mark included; a character
// that Windows-1251 cannot hold moves the whole text to UTF-8 with its mark.
QByteArray EncodeComment(const QString& text, CommentEncoding encoding);
QString DecodeComment(const QByteArray& bytes);
