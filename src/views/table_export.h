// The text and HTML forms of the report table (the export of the text report page): both
// write every row, header first, with each cell's text exactly as the table shows it, in
// UTF-16 little-endian with the byte-order mark FF FE and CR LF line ends.
#pragma once

#include "report/report_table.h"
#include "views/cell_colors.h"

#include <QString>

// The platform's colours the HTML form needs (the table's fixed cells and its normal cells).
struct PlatformColors {
    Rgb buttonFace = 0xF0F0F0;
    Rgb window = 0xFFFFFF;
    Rgb windowText = 0x000000;
};

// Fixed-width text: each field is the column's widest text (in UTF-16 code units, header
// included) plus one, the text centred with the odd blank after it.
QString AsciiReportText(const ReportTable& table);
// Writes AsciiReportText to fileName. Throws ReportFileError "Cannot create file ..." when the
// file cannot be written.
void SaveToASCII(const QString& fileName, const ReportTable& table);

// The HTML form: a style block with one class per distinct cell style (in order of first use),
// then the table with one line per cell, the colour rule applied to the data cells.
QString HtmlReportText(const ReportTable& table, const PlatformColors& colors);
void SaveToHTML(const QString& fileName, const ReportTable& table, const PlatformColors& colors);

// The style text of a cell: colours, Tahoma 8 pt (with DejaVu Sans and sans-serif after it), bold
// when marked, centred both ways.
QString HtmlCellStyle(const CellStyle& style);
