#include "report/ui/report_selection_dialog.h"

#include "widgets/date_time_pickers.h"
#include "widgets/design_font.h"
#include "widgets/design_label.h"
#include "widgets/dialogs.h"
#include "platform/wait_progress.h"
#include "logging/report_comment.h"
#include "logging/report_pool.h"
#include "logging/report_state.h"
#include "publish/published_position.h"
#include "report/date_time.h"
#include "report/report_preparation.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimeEdit>

namespace {

// A 16 x 16 waste bin for the delete button.
QIcon DeleteIcon()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    const QColor outline(0x40, 0x40, 0x40);
    p.setPen(outline);
    p.setBrush(QColor(0xC8, 0xC8, 0xC8));
    p.drawRect(3, 4, 9, 10);              // the bin
    p.fillRect(1, 2, 14, 2, outline);     // its lid
    p.fillRect(6, 0, 4, 2, outline);      // the handle
    p.drawLine(5, 6, 5, 12);
    p.drawLine(7, 6, 7, 12);
    p.drawLine(10, 6, 10, 12);
    p.end();
    return QIcon(picture);
}

// The resize events a hidden widget and its children are still owed, sent parent first as
// showing sends them (the parent places its children in its new size).
void SendPendingResize(QWidget* widget)
{
    if (widget->testAttribute(Qt::WA_PendingResizeEvent)) {
        widget->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent resize(widget->size(), QSize());
        QCoreApplication::sendEvent(widget, &resize);
    }
    for (QObject* child : widget->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            SendPendingResize(w);
}

QString DeleteFailureText(const QList<DeleteFailure>& failures)
{
    QStringList lines;
    for (const DeleteFailure& f : failures) {
        QString line = QStringLiteral("Невозможно удалить файл \"%1\".").arg(QDir::toNativeSeparators(f.path));
        if (!f.reason.isEmpty())
            line += QLatin1Char(' ') + f.reason;
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

const QString& ReportSelectionDialog::commentPlaceholder()
{
    static const QString text = QStringLiteral("Введите комментарий");
    return text;
}

ReportSelectionDialog::ReportSelectionDialog(Dialogs& dialogs, ReportState& report, WaitProgress* wait, QString poolDirectory,
                         QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      dialogs_(dialogs),
      report_(report),
      wait_(wait),
      poolDirectory_(std::move(poolDirectory))
{
    setObjectName(QStringLiteral("RepselForm"));
    setWindowTitle(QStringLiteral("Выбор параметров отчета"));
    setFixedSize(352, 334);
    setFont(DesignFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // Created in tab order: the report list first, the buttons last.
    auto* reportGroup = new QGroupBox(QStringLiteral(" Выберите прибор "), this);
    reportGroup->setObjectName(QStringLiteral("GroupBox1"));
    reportGroup->setGeometry(8, 4, 336, 182);
    DesignLabel(QStringLiteral("Файл:"), reportGroup, {12, 22}, "Label1");
    reportList_ = new QComboBox(reportGroup);
    reportList_->setObjectName(QStringLiteral("ComboBox1"));
    reportList_->setEditable(false);
    reportList_->setGeometry(12, 39, 224, 23);
    const QString deleteCaption = QStringLiteral("Удалить");
    deleteButton_ = new QPushButton(DeleteIcon(), deleteCaption, reportGroup);
    deleteButton_->setObjectName(QStringLiteral("BitBtn2"));
    deleteButton_->setToolTip(deleteCaption);
    deleteButton_->setStatusTip(deleteCaption);
    deleteButton_->setAutoDefault(false);  // Enter never deletes a report
    deleteButton_->setGeometry(244, 38, 80, 25);
    DesignLabel(QStringLiteral("Комментарий:"), reportGroup, {12, 70}, "Label2");
    comment_ = new QPlainTextEdit(reportGroup);
    comment_->setObjectName(QStringLiteral("Memo1"));
    comment_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    comment_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    comment_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    comment_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    comment_->setTabChangesFocus(true);  // Tab leaves the editor, as in the other fields
    comment_->setGeometry(12, 87, 312, 83);
    comment_->installEventFilter(this);
    fileList_ = new QListWidget(reportGroup);
    fileList_->setObjectName(QStringLiteral("FileListBox1"));
    fileList_->hide();

    auto* intervalGroup = new QGroupBox(QStringLiteral(" Выберите интервал "), this);
    intervalGroup->setObjectName(QStringLiteral("GroupBox2"));
    intervalGroup->setGeometry(8, 192, 336, 100);
    DesignLabel(QStringLiteral("(ДД.ММ.ГГ)"), intervalGroup, {116, 20}, "Label4");
    DesignLabel(QStringLiteral("(ЧЧ.ММ)"), intervalGroup, {230, 20}, "Label5");
    DesignLabel(QStringLiteral("Начальная точка:"), intervalGroup, {12, 42}, "Label3");
    startDate_ = NewDatePicker(intervalGroup, "DateTimePicker1", {116, 38, 106, 22});
    startTime_ = NewTimePicker(intervalGroup, "DateTimePicker2", {230, 38, 94, 22});
    DesignLabel(QStringLiteral("Конечная точка:"), intervalGroup, {12, 70}, "Label6");
    endDate_ = NewDatePicker(intervalGroup, "DateTimePicker3", {116, 66, 106, 22});
    endTime_ = NewTimePicker(intervalGroup, "DateTimePicker4", {230, 66, 94, 22});
    for (QDateEdit* picker : {startDate_, endDate_})
        picker->setDate(QDate::currentDate());
    startTime_->setTime(QTime(0, 0));
    endTime_->setTime(QTime(23, 59));

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(186, 301, 75, 25);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Отмена"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setGeometry(269, 301, 75, 25);

    // A selection the program makes (clearing and refilling the list) does not count as a
    // change: only the user's choice runs the handler.
    connect(reportList_, &QComboBox::activated, this, &ReportSelectionDialog::reportChosen);
    connect(deleteButton_, &QPushButton::clicked, this, &ReportSelectionDialog::deleteSelectedReport);
    connect(ok, &QPushButton::clicked, this, [this] {
        confirmInterval();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString ReportSelectionDialog::poolDirectory() const
{
    return poolDirectory_;
}

bool ReportSelectionDialog::hasReport() const
{
    return reportList_->count() > 0 && reportList_->currentIndex() >= 0;
}

bool ReportSelectionDialog::poolHasReports() const
{
    return reportList_->count() > 0;
}

QString ReportSelectionDialog::selectedReport() const
{
    return reportList_->currentText();
}

void ReportSelectionDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Only the dialog being opened counts, not the window system showing it again.
    if (!event->spontaneous())
        RefreshReportList();
}

bool ReportSelectionDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == comment_ && event->type() == QEvent::FocusOut) {
        // The focus moving to another control of the dialog; another window becoming active
        // or a context menu opening leaves the editor where it is.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            commentLeft();
    }
    return QDialog::eventFilter(watched, event);
}

void ReportSelectionDialog::RefreshReportList()
{
    fileList_->clear();
    fileList_->addItems(ListReports(poolDirectory_));
    QDir::setCurrent(poolDirectory_);
    reportList_->clear();
    for (int i = 0; i < fileList_->count(); ++i)
        reportList_->addItem(fileList_->item(i)->text());
    if (reportList_->count() > 0)
        reportList_->setCurrentIndex(0);
    SelectReport();
}

void ReportSelectionDialog::SelectReport()
{
    LoadComment();
    if (!hasReport())
        return;
    const QString path = ReportFilePath(poolDirectory_, selectedReport());
    const ReportExtremes span = PrepareReportFile(report_, path, wait_, nullptr, KeepPublishedPosition(path));
    setPickers(span.earliest, span.latest);
}

void ReportSelectionDialog::setPickers(double earliest, double latest)
{
    SetPickers(startDate_, startTime_, earliest);
    SetPickers(endDate_, endTime_, latest);
}

void ReportSelectionDialog::reportChosen()
{
    SelectReport();
}

void ReportSelectionDialog::LoadComment()
{
    if (!hasReport())
        return;
    comment_->clear();
    const std::optional<QString> comment = ::LoadComment(CommentFilePath(poolDirectory_, selectedReport()));
    comment_->setPlainText(comment ? *comment : commentPlaceholder());
}

void ReportSelectionDialog::SaveComment()
{
    if (!hasReport())
        return;
    // The raw text keeps what was typed (no-break spaces included); the editor's paragraph and
    // line separators become line breaks.
    QString text = comment_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    ::SaveComment(CommentFilePath(poolDirectory_, selectedReport()), text);
}

void ReportSelectionDialog::commentLeft()
{
    SaveComment();
}

void ReportSelectionDialog::deleteSelectedReport()
{
    if (!hasReport())
        return;
    const QString name = selectedReport();
    if (dialogs_.warning(QStringLiteral("Удалить отчет ") + name + QStringLiteral(" ?")) != Dialogs::Answer::Yes)
        return;
    if (dialogs_.warning(QStringLiteral("Отменить операцию ?")) != Dialogs::Answer::No)
        return;
    const QList<DeleteFailure> failures = DeleteReport(poolDirectory_, name);
    // Files that were not there are no failure; a file still there is, and is named.
    if (failures.isEmpty())
        dialogs_.message(QStringLiteral("Отчет удален !"));
    else
        dialogs_.error(DeleteFailureText(failures));
    RefreshReportList();
}

void ReportSelectionDialog::confirmInterval()
{
    report_.IntervalStart = PickersDayCount(startDate_, startTime_, true);
    report_.IntervalEnd = PickersDayCount(endDate_, endTime_, true);
}

QStringList ReportSelectionDialog::commentLines() const
{
    // Before the dialog is first shown the editor has not yet laid its text out in its width;
    // it learns its size now as showing would tell it, so the lines are the ones it will show.
    comment_->ensurePolished();
    SendPendingResize(comment_);
    QTextDocument* document = comment_->document();
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    QStringList lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (layout)
            layout->ensureBlockLayout(block);
        const QString text = block.text();
        const QTextLayout* blockLayout = block.layout();
        if (!blockLayout || blockLayout->lineCount() == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < blockLayout->lineCount(); ++i) {
            const QTextLine line = blockLayout->lineAt(i);
            QString shown = text.mid(line.textStart(), line.textLength());
            if (shown.endsWith(QChar::LineSeparator))
                shown.chop(1);
            lines << shown;
        }
    }
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}
