// TMainForm::AcPrintGraphExecute: both charts on one printed page, humidity above temperature,
// with the maker's logo over the top-left corner.
#include "app/ui/main_form.h"

#include "app/ui/dialogs.h"
#include "views/ui/print_job.h"
#include "views/ui/time_chart.h"

#include <QBitmap>
#include <QPainter>
#include <QPrinter>


namespace {

// The logo without its background: the colour of its lower-left pixel is not drawn.
QPixmap TransparentLogo(const QPixmap& logo)
{
    if (logo.isNull())
        return logo;
    const QImage image = logo.toImage();
    QPixmap out = logo;
    out.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, image.height() - 1), Qt::MaskInColor)));
    return out;
}

}  // namespace

void TMainForm::AcPrintGraphExecute()
{
    // The same printer the table's print dialog uses, for the whole run.
    QPrinter& printer = ProgramPrinter(PrintDialog1);
    if (dialogs().PrintersInstalled()) {
        // Confirmed or cancelled, printing goes on with the printer as the dialog leaves it.
        dialogs().PrinterSetup(printer);
    } else {
        // Without a printer only a PDF file can take the page: the dialog offers one, and
        // cancelling it leaves nothing to print on.
        dialogs().Message(NoPrinterText());
        if (!dialogs().Print(printer, 0, 0, true))
            return;
    }
    printer.setDocName(QString());
    PrepareChartsForOutput();

    QPainter painter;
    BeginPrintJob(painter, printer);
    // The page's drawing area in printer pixels.
    const QRect page(0, 0, printer.width(), printer.height());
    const int L = page.left(), T = page.top(), R = page.right() + 1, B = page.bottom() + 1;
    const int top = T + 200;
    const int half = (B - top) / 2;
    // Both charts, visible on screen or not, as they were drawn last; laid out one and a half
    // times their screen size so texts and lines keep two thirds of their screen proportion.
    Chart1->render(painter, QRect(QPoint(L, top), QPoint(R - 1, half + 200 - 1)), -50);
    Chart2->render(painter, QRect(QPoint(L, half + 200), QPoint(R - 1, 2 * half + 200 - 1)), -50);
    // The logo last, stretched, over whatever lies there.
    painter.drawPixmap(QRect(QPoint(100, 100), QPoint(R / 10 + 100 - 1, (2 * half + 200) / 20 + 100 - 1)),
                       TransparentLogo(Image1));
    painter.end();
}
