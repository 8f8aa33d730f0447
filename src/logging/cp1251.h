// The Windows-1251 code page (the Russian ANSI code page of comment files), which Qt's own
// converters do not offer.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

QString DecodeWindows1251(const QByteArray& bytes);
// The bytes of the text in Windows-1251, or nothing when a character has no place in it.
std::optional<QByteArray> EncodeWindows1251(const QString& text);
