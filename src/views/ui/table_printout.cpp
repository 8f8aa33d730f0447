#include "views/ui/table_printout.h"

#include "platform/clock.h"
#include "widgets/design_font.h"
#include "views/ui/print_job.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPrinter>

#include <cmath>
#include <stdexcept>

namespace {

// Measures with the printer's own font metrics and gives the figures in 0.1 mm.
class PrinterMetrics : public PrintMetrics {
public:
    PrinterMetrics(QPaintDevice& device, const QFont& cellFont)
        : dpiX_(device.logicalDpiX()), dpiY_(device.logicalDpiY()),
          header_(TablePrintFont(PrintFont::Header), &device), footer_(TablePrintFont(PrintFont::Footer), &device),
          cell_(cellFont, &device), spacing_(TablePrintFont(PrintFont::Spacing), &device)
    {
    }

    int lineHeight(PrintFont font) const override
    {
        return static_cast<int>(std::lround(metrics(font).height() * 254.0 / dpiY_));
    }
    int textWidth(PrintFont font, const QString& text) const override
    {
        // Rounded up, so that a text never reaches past the width the layout gave it.
        return static_cast<int>(std::ceil(metrics(font).horizontalAdvance(text) * 254.0 / dpiX_ - 1e-9));
    }

private:
    const QFontMetricsF& metrics(PrintFont font) const
    {
        switch (font) {
        case PrintFont::Header:
            return header_;
        case PrintFont::Footer:
            return footer_;
        case PrintFont::Spacing:
            return spacing_;
        case PrintFont::Cell:
            break;
        }
        return cell_;
    }

    int dpiX_;
    int dpiY_;
    QFontMetricsF header_;
    QFontMetricsF footer_;
    QFontMetricsF cell_;
    QFontMetricsF spacing_;
};

// 0.1 mm on paper to device units of the printer, edge by edge, so that neighbouring cells
// share their edges exactly.
class PaperToDevice {
public:
    explicit PaperToDevice(const QPaintDevice& device) : dpiX_(device.logicalDpiX()), dpiY_(device.logicalDpiY()) {}
    int x(int v) const { return static_cast<int>(std::lround(v * dpiX_ / 254.0)); }
    int y(int v) const { return static_cast<int>(std::lround(v * dpiY_ / 254.0)); }
    QRect rect(const QRect& r) const
    {
        return QRect(QPoint(x(r.left()), y(r.top())), QPoint(x(r.left() + r.width()) - 1, y(r.top() + r.height()) - 1));
    }
    int fromX(int device) const { return static_cast<int>(std::floor(device * 254.0 / dpiX_)); }
    int fromY(int device) const { return static_cast<int>(std::floor(device * 254.0 / dpiY_)); }

private:
    double dpiX_;
    double dpiY_;
};

}  // namespace

QFont TablePrintFont(PrintFont font)
{
    QFont f = DesignFont();
    switch (font) {
    case PrintFont::Header:
        f.setPointSize(8);
        f.setBold(true);
        break;
    case PrintFont::Footer:
    case PrintFont::Cell:
        f.setPointSize(8);
        break;
    case PrintFont::Spacing:
        f.setPointSize(10);
        break;
    }
    return f;
}

TablePrintout::TablePrintout(TablePrintSource source, const Clock& clock, double screenDotsPerInch)
    : source_(std::move(source)), clock_(clock), screenDotsPerInch_(screenDotsPerInch)
{
}

void TablePrintout::print(QPrinter& printer) const
{
    PrintRect(printer, 0, 0, source_.columnCount - 1, source_.rowCount - 1);
}

void TablePrintout::PrintRect(QPrinter& printer, int leftColumn, qsizetype topRow, int rightColumn,
                              qsizetype bottomRow) const
{
    // Every table printout is portrait, whatever the dialog's printer properties said.
    printer.setPageOrientation(QPageLayout::Portrait);

    QPainter painter;
    BeginPrintJob(painter, printer);

    const PaperToDevice device(printer);
    const PrinterMetrics metrics(printer, source_.cellFont);
    const TablePrintBlock block{leftColumn, topRow, rightColumn, bottomRow};
    // The whole job is laid out once first: the footers need the number of sheets.
    const TablePrintLayout layout = LayOutTablePrint(metrics, device.fromX(printer.width()),
                                                     device.fromY(printer.height()), source_.titleLines,
                                                     source_.cellText, block);

    const QPalette palette = QApplication::palette();
    const QColor buttonFace = palette.color(QPalette::Active, QPalette::Button);
    const QColor window = palette.color(QPalette::Active, QPalette::Base);
    const QColor windowText = palette.color(QPalette::Active, QPalette::Text);
    const int frame = std::max(1, device.x(PrintFrameWidth(screenDotsPerInch_)));
    const QFont headerFont = TablePrintFont(PrintFont::Header);
    const QFont footerFont = TablePrintFont(PrintFont::Footer);
    constexpr int kOneLine = Qt::TextSingleLine | Qt::TextDontClip;

    for (int n = 0; n < layout.sheetCount(); ++n) {
        if (n > 0 && !printer.newPage())
            throw std::runtime_error(
                QStringLiteral("Ошибка принтера \"%1\" при переходе к листу %2").arg(PrinterName(printer)).arg(n + 1).toStdString());
        const TablePrintSheet& sheet = layout.sheets[static_cast<std::size_t>(n)];

        painter.setFont(headerFont);
        painter.setPen(windowText);
        for (std::size_t i = 0; i < layout.titleRects.size(); ++i)
            painter.drawText(device.rect(layout.titleRects[i]), Qt::AlignHCenter | Qt::AlignTop | kOneLine,
                             layout.titleLines[static_cast<int>(i)]);

        // Backgrounds, then texts, then frames, so that no cell's background covers a
        // neighbour's frame.
        for (qsizetype i = 0; i < sheet.rowCount; ++i) {
            const bool header = sheet.firstRow + i == 0;
            for (int c = leftColumn; c <= rightColumn; ++c)
                painter.fillRect(device.rect(layout.cellRect(static_cast<int>(i), c)), header ? buttonFace : window);
        }
        painter.setFont(source_.cellFont);
        painter.setPen(windowText);
        for (qsizetype i = 0; i < sheet.rowCount; ++i)
            for (int c = leftColumn; c <= rightColumn; ++c)
                painter.drawText(device.rect(layout.cellRect(static_cast<int>(i), c)), Qt::AlignCenter | kOneLine,
                                 source_.cellText(sheet.firstRow + i, c));
        QPen pen(Qt::black, frame, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        for (qsizetype i = 0; i < sheet.rowCount; ++i)
            for (int c = leftColumn; c <= rightColumn; ++c)
                painter.drawRect(device.rect(layout.cellRect(static_cast<int>(i), c)));

        // The date and time are read as each sheet is laid out.
        const TablePrintFooter texts = TablePrintFooterTexts(clock_.now(), SystemDateTimeSeparators(), n + 1,
                                                             layout.sheetCount());
        const TablePrintFooterRects places = PlaceTablePrintFooter(layout, metrics, texts);
        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        painter.drawText(device.rect(places.left), Qt::AlignLeft | Qt::AlignBottom | kOneLine, texts.left);
        painter.drawText(device.rect(places.centre), Qt::AlignHCenter | Qt::AlignBottom | kOneLine, texts.centre);
        painter.drawText(device.rect(places.right), Qt::AlignRight | Qt::AlignBottom | kOneLine, texts.right);
    }
    if (!painter.end())
        throw std::runtime_error(
            QStringLiteral("Ошибка принтера \"%1\" при завершении печати").arg(PrinterName(printer)).toStdString());
}
