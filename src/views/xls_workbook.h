// The spreadsheet form of the report table: a workbook in the binary Excel 97-2003 format
// (".xls": BIFF8 records inside a compound document), one text cell per table cell from A1,
// header row first. A sheet holds at most 65,536 rows, so a longer table continues on further
// sheets ("Лист2", ...) instead of losing rows, each headed by the header row again.
#pragma once

#include "report/report_table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

inline constexpr int kXlsRowsPerSheet = 65536;

// The workbook's bytes for a table of rowCount rows and columnCount columns whose cell texts
// come from cell(row, column) (CR characters are removed).
QByteArray XlsWorkbook(qsizetype rowCount, int columnCount,
                       const std::function<QString(qsizetype, int)>& cell);
QByteArray XlsWorkbook(const ReportTable& table);

// Writes XlsWorkbook(table) to fileName, replacing it. Throws ReportFileError
// "Cannot create file ..." when the file cannot be written.
void SaveToXLS(const QString& fileName, const ReportTable& table);
