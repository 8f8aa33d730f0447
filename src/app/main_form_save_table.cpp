// TMainForm::AcSaveExecute: the export of the text report's table to a file the user chooses —
// fixed-width text (".txt", or the same under ".doc"), HTML with the screen's colours (".htm"),
// or a workbook (".xls").
#include "platform/clock.h"
#include "widgets/dialogs.h"
#include "app/main_form.h"
#include "report/report_document.h"
#include "views/ui/text_report_page.h"
#include "widgets/wait_form.h"
#include "logging/report_pool.h"
#include "report/date_time.h"
#include "views/csv_export.h"
#include "views/table_export.h"
#include "views/ui/report_table_model.h"
#include "views/ui/rgb_color.h"
#include "views/xls_workbook.h"

#include <QApplication>
#include <QLocale>
#include <QPalette>
#include <QTableView>

namespace {

struct ExportForm {
    const char* filter;
    const char* pattern;
    const char* extension;
    enum Writer { Text, Workbook, Html, Csv } writer;
};

// The entries of the save dialog, in order; entry 2 lists .csv files but writes a workbook.
const ExportForm kForms[] = {
    {"Отчёт (*.txt)", "*.txt", ".txt", ExportForm::Text},
    {"Отчёт Excel", "*.csv", ".xls", ExportForm::Workbook},
    {"Отчёт (*.doc)", "*.doc", ".doc", ExportForm::Text},
    {"Отчёт (*.htm)", "*.htm", ".htm", ExportForm::Html},
    // The readings themselves for analysis, every record of the interval.
    {"Данные CSV", "*.csv", ".csv", ExportForm::Csv},
};

// The dialog's last choice, kept for the rest of the run.
int lastFilterIndex = 1;

// Today's date as the table writes dates (day, month, two-digit year with the system's
// separator), made a file name: the separators (dots, and the slashes some systems use, which
// would name directories) become "_".
QString ProposedFileName(const QDate& today)
{
    QString name = DateText(DayCountOf(today, 0), SystemDateTimeSeparators().date);
    for (const QChar c : {QLatin1Char('.'), QLatin1Char('/'), QLatin1Char('\\')})
        name.replace(c, QLatin1Char('_'));
    return name;
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

void TMainForm::AcSaveExecute()
{
    SaveFileRequest request;
    request.title = QStringLiteral("Записать");
    request.directory = programDirectory();
    request.fileName = ProposedFileName(clock().now().date());
    for (const ExportForm& form : kForms) {
        request.filters << QString::fromUtf8(form.filter);
        request.patterns << QString::fromLatin1(form.pattern);
    }
    request.filterIndex = lastFilterIndex;
    const std::optional<SaveFileChoice> choice = dialogs().SaveFile(request);
    if (!choice)
        return;
    lastFilterIndex = std::clamp(choice->filterIndex, 1, int(std::size(kForms)));

    WaitForm->SetText(QStringLiteral("Подождите, идет сохранение отчета..."));
    WaitForm->SetMaximum(2);
    WaitForm->SetPosition(1);
    WaitForm->Show();
    // The wait window goes also when the writer fails; the error then reaches the error box.
    struct HideWait {
        TWaitForm* wait;
        ~HideWait()
        {
            wait->Hide();
            wait->ProcessMessages();
        }
    } hideWait{WaitForm};

    const ExportForm& form = kForms[lastFilterIndex - 1];
    const QString fileName = ChangeFileExt(choice->fileName, QString::fromLatin1(form.extension));
    const ReportTable& table = TabSheet2->model().table();
    const WaitCursor hourglass;
    switch (form.writer) {
    case ExportForm::Text:
        SaveToASCII(fileName, table);
        break;
    case ExportForm::Workbook:
        SaveToXLS(fileName, table);
        break;
    case ExportForm::Html: {
        const QPalette palette = TabSheet2->tablePalette();
        SaveToHTML(fileName, table,
                   PlatformColors{RgbOf(palette.color(QPalette::Active, QPalette::Button)),
                                  RgbOf(palette.color(QPalette::Active, QPalette::Base)),
                                  RgbOf(palette.color(QPalette::Active, QPalette::Text))});
        break;
    }
    case ExportForm::Csv:
        SaveToCSV(fileName, document_->state());
        break;
    }
}
