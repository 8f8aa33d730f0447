#include "views/table_print_layout.h"

#include <QHash>

#include <algorithm>
#include <cmath>

int ProgramPageCount(qsizetype rowCount)
{
    if (rowCount < 1)
        return 1;
    return static_cast<int>((rowCount - 1) / kRowsPerProgramPage + 1);
}

TablePrintBlock ProgramPagesBlock(int fromPage, int toPage, qsizetype rowCount, int columnCount)
{
    TablePrintBlock block;
    block.leftColumn = 0;
    block.rightColumn = columnCount - 1;
    const qsizetype lastRow = std::max<qsizetype>(rowCount - 1, 0);
    block.topRow = std::clamp<qsizetype>(qsizetype(std::max(fromPage, 1) - 1) * kRowsPerProgramPage, 0, lastRow);
    block.bottomRow = std::clamp<qsizetype>(qsizetype(std::max(toPage, 1)) * kRowsPerProgramPage - 1, block.topRow,
                                            lastRow);
    return block;
}

QRect TablePrintLayout::cellRect(int indexOnSheet, int column) const
{
    int x = tableLeft;
    const int index = column - block.leftColumn;
    for (int c = 0; c < index; ++c)
        x += columnWidths[static_cast<std::size_t>(c)];
    return QRect(x, tableTop + indexOnSheet * rowHeight, columnWidths[static_cast<std::size_t>(index)], rowHeight);
}

TablePrintLayout LayOutTablePrint(const PrintMetrics& metrics, int pageWidth, int pageHeight,
                                  const QStringList& titleLines, const PrintCellText& cellText,
                                  const TablePrintBlock& block)
{
    TablePrintLayout layout;
    layout.pageWidth = pageWidth;
    layout.pageHeight = pageHeight;
    layout.block = block;
    layout.titleLines = titleLines;
    layout.unit = metrics.lineHeight(PrintFont::Spacing) / 8;
    const int s = layout.unit;

    // The title lines, centred one below the other from 10 mm under the top edge.
    const int h = metrics.lineHeight(PrintFont::Header);
    int y = kPrintTopMargin;
    for (const QString& line : titleLines) {
        const int w = metrics.textWidth(PrintFont::Header, line);
        layout.titleRects.emplace_back((pageWidth - w) / 2, y, w, h);
        y += h;
    }
    layout.tableTop = y + s;

    // Column widths from the printed rows only; an empty cell is as wide as "gh". Texts repeat
    // a lot (dates, times, values), so each distinct text is measured once.
    const int columns = std::max(block.rightColumn - block.leftColumn + 1, 0);
    layout.columnWidths.assign(static_cast<std::size_t>(columns), 0);
    QHash<QString, int> widths;
    const auto widthOf = [&](const QString& text) {
        const QString& measured = text.isEmpty() ? QStringLiteral("gh") : text;
        auto it = widths.constFind(measured);
        if (it == widths.constEnd())
            it = widths.insert(measured, metrics.textWidth(PrintFont::Cell, measured));
        return it.value();
    };
    for (qsizetype r = block.topRow; r <= block.bottomRow; ++r)
        for (int c = 0; c < columns; ++c) {
            int& width = layout.columnWidths[static_cast<std::size_t>(c)];
            width = std::max(width, widthOf(cellText(r, block.leftColumn + c)));
        }
    for (int& width : layout.columnWidths) {
        width += kPrintCellPadding;
        layout.tableWidth += width;
    }
    layout.tableLeft = (pageWidth - layout.tableWidth) / 2;

    // Every cell has one line in the one cell font, so all rows are equally high.
    const int line = metrics.lineHeight(PrintFont::Cell);
    layout.textHeight = line + line / 8;
    layout.rowHeight = layout.textHeight + 2 * s;

    const int f = metrics.lineHeight(PrintFont::Footer);
    layout.footerHeight = f;
    layout.footerZone = kPrintBottomMargin + 2 * f + 2 * s;
    layout.footerTop = pageHeight - kPrintBottomMargin - s - f;

    // Rows go down the sheet while their text still ends above the footer zone; the header
    // row is not repeated on the following sheets.
    const int limit = pageHeight - layout.footerZone;
    TablePrintSheet sheet{block.topRow, 0};
    int rowTop = layout.tableTop;
    for (qsizetype r = block.topRow; r <= block.bottomRow; ++r) {
        if (sheet.rowCount > 0 && rowTop + layout.textHeight > limit) {
            layout.sheets.push_back(sheet);
            sheet = {r, 0};
            rowTop = layout.tableTop;
        }
        ++sheet.rowCount;
        rowTop += layout.rowHeight;
    }
    if (sheet.rowCount > 0)
        layout.sheets.push_back(sheet);
    return layout;
}

TablePrintFooter TablePrintFooterTexts(const QDateTime& now, const DateTimeSeparators& separators, int sheet,
                                       int sheetCount)
{
    const QDate date = now.date();
    const QTime time = now.time();
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    TablePrintFooter footer;
    footer.left = two(date.day()) + separators.date + two(date.month()) + separators.date +
                  QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')) + QLatin1Char(' ');
    footer.centre = QLatin1Char(' ') + two(time.hour()) + separators.time + two(time.minute());
    const QString number = sheetCount == 1 ? QString::number(sheet)
                                           : QString::number(sheet) + QLatin1Char('/') + QString::number(sheetCount);
    footer.right = QStringLiteral(" - ") + number + QStringLiteral(" -");
    return footer;
}

TablePrintFooterRects PlaceTablePrintFooter(const TablePrintLayout& layout, const PrintMetrics& metrics,
                                            const TablePrintFooter& texts)
{
    const int top = layout.footerTop;
    const int h = layout.footerHeight;
    const int left = metrics.textWidth(PrintFont::Footer, texts.left);
    const int centre = metrics.textWidth(PrintFont::Footer, texts.centre);
    const int right = metrics.textWidth(PrintFont::Footer, texts.right);
    TablePrintFooterRects rects;
    rects.left = QRect(kPrintLeftMargin, top, left, h);
    rects.centre = QRect((layout.pageWidth - centre) / 2, top, centre, h);
    rects.right = QRect(layout.pageWidth - kPrintRightMargin - kPrintPageNumberGap - right, top, right, h);
    return rects;
}

int PrintFrameWidth(double screenDotsPerInch)
{
    if (!(screenDotsPerInch > 0))
        screenDotsPerInch = 96;
    return std::max(1, static_cast<int>(std::lround(254.0 / screenDotsPerInch)));
}
