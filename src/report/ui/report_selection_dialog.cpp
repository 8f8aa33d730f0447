#include "report/ui/report_selection_dialog.h"

#include "widgets/date_time_pickers.h"
#include "widgets/design_font.h"
#include "widgets/design_label.h"
#include "widgets/dialogs.h"
#include "platform/wait_progress.h"
#include "logging/report_comment.h"
#include "logging/report_pool.h"
#include "logging/report_state.h"
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

const QString& ReportSelectionDialog::CommentPlaceholder()
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
    GroupBox1 = new QGroupBox(QStringLiteral(" Выберите прибор "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 4, 336, 182);
    Label1 = DesignLabel(QStringLiteral("Файл:"), GroupBox1, {12, 22}, "Label1");
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setGeometry(12, 39, 224, 23);
    BitBtn2 = new QPushButton(DeleteIcon(), QStringLiteral("Удалить"), GroupBox1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setToolTip(QStringLiteral("Удалить"));
    BitBtn2->setStatusTip(QStringLiteral("Удалить"));
    BitBtn2->setAutoDefault(false);  // Enter never deletes a report
    BitBtn2->setGeometry(244, 38, 80, 25);
    Label2 = DesignLabel(QStringLiteral("Комментарий:"), GroupBox1, {12, 70}, "Label2");
    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setTabChangesFocus(true);  // Tab leaves the editor, as in the other fields
    Memo1->setGeometry(12, 87, 312, 83);
    Memo1->installEventFilter(this);
    FileListBox1 = new QListWidget(GroupBox1);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->hide();

    GroupBox2 = new QGroupBox(QStringLiteral(" Выберите интервал "), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 192, 336, 100);
    Label4 = DesignLabel(QStringLiteral("(ДД.ММ.ГГ)"), GroupBox2, {116, 20}, "Label4");
    Label5 = DesignLabel(QStringLiteral("(ЧЧ.ММ)"), GroupBox2, {230, 20}, "Label5");
    Label3 = DesignLabel(QStringLiteral("Начальная точка:"), GroupBox2, {12, 42}, "Label3");
    DateTimePicker1 = NewDatePicker(GroupBox2, "DateTimePicker1", {116, 38, 106, 22});
    DateTimePicker2 = NewTimePicker(GroupBox2, "DateTimePicker2", {230, 38, 94, 22});
    Label6 = DesignLabel(QStringLiteral("Конечная точка:"), GroupBox2, {12, 70}, "Label6");
    DateTimePicker3 = NewDatePicker(GroupBox2, "DateTimePicker3", {116, 66, 106, 22});
    DateTimePicker4 = NewTimePicker(GroupBox2, "DateTimePicker4", {230, 66, 94, 22});
    for (QDateEdit* picker : {DateTimePicker1, DateTimePicker3})
        picker->setDate(QDate::currentDate());
    DateTimePicker2->setTime(QTime(0, 0));
    DateTimePicker4->setTime(QTime(23, 59));

    Button1 = new QPushButton(QStringLiteral("&Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(186, 301, 75, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("&Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(269, 301, 75, 25);

    // A selection the program makes (clearing and refilling the list) does not count as a
    // change: only the user's choice runs the handler.
    connect(ComboBox1, &QComboBox::activated, this, &ReportSelectionDialog::ComboBox1Change);
    connect(BitBtn2, &QPushButton::clicked, this, &ReportSelectionDialog::BitBtn2Click);
    connect(Button1, &QPushButton::clicked, this, [this] {
        Button1Click();
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

QString ReportSelectionDialog::poolDirectory() const
{
    return poolDirectory_;
}

bool ReportSelectionDialog::hasReport() const
{
    return ComboBox1->count() > 0 && ComboBox1->currentIndex() >= 0;
}

QString ReportSelectionDialog::selectedReport() const
{
    return ComboBox1->currentText();
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
    if (watched == Memo1 && event->type() == QEvent::FocusOut) {
        // The focus moving to another control of the dialog; another window becoming active
        // or a context menu opening leaves the editor where it is.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Memo1Exit();
    }
    return QDialog::eventFilter(watched, event);
}

void ReportSelectionDialog::RefreshReportList()
{
    FileListBox1->clear();
    FileListBox1->addItems(ListReports(poolDirectory_));
    QDir::setCurrent(poolDirectory_);
    ComboBox1->clear();
    for (int i = 0; i < FileListBox1->count(); ++i)
        ComboBox1->addItem(FileListBox1->item(i)->text());
    if (ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(0);
    SelectReport();
}

void ReportSelectionDialog::SelectReport()
{
    LoadComment();
    if (!hasReport())
        return;
    const ReportExtremes span = PrepareReportFile(report_, ReportFilePath(poolDirectory_, selectedReport()), wait_);
    setPickers(span.earliest, span.latest);
}

void ReportSelectionDialog::setPickers(double earliest, double latest)
{
    SetPickers(DateTimePicker1, DateTimePicker2, earliest);
    SetPickers(DateTimePicker3, DateTimePicker4, latest);
}

void ReportSelectionDialog::ComboBox1Change()
{
    SelectReport();
}

void ReportSelectionDialog::LoadComment()
{
    if (!hasReport())
        return;
    Memo1->clear();
    const std::optional<QString> comment = ::LoadComment(CommentFilePath(poolDirectory_, selectedReport()));
    Memo1->setPlainText(comment ? *comment : CommentPlaceholder());
}

void ReportSelectionDialog::SaveComment()
{
    if (!hasReport())
        return;
    // The raw text keeps what was typed (no-break spaces included); the editor's paragraph and
    // line separators become line breaks.
    QString text = Memo1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    ::SaveComment(CommentFilePath(poolDirectory_, selectedReport()), text);
}

void ReportSelectionDialog::Memo1Exit()
{
    SaveComment();
}

void ReportSelectionDialog::BitBtn2Click()
{
    if (!hasReport())
        return;
    const QString name = selectedReport();
    if (dialogs_.Warning(QStringLiteral("Удалить отчет ") + name + QStringLiteral(" ?")) != Dialogs::Answer::Yes)
        return;
    if (dialogs_.Warning(QStringLiteral("Отменить операцию ?")) != Dialogs::Answer::No)
        return;
    const QList<DeleteFailure> failures = DeleteReport(poolDirectory_, name);
    // Files that were not there are no failure; a file still there is, and is named.
    if (failures.isEmpty())
        dialogs_.Message(QStringLiteral("Отчет удален !"));
    else
        dialogs_.Error(DeleteFailureText(failures));
    RefreshReportList();
}

void ReportSelectionDialog::Button1Click()
{
    report_.IntervalStart = PickersDayCount(DateTimePicker1, DateTimePicker2, true);
    report_.IntervalEnd = PickersDayCount(DateTimePicker3, DateTimePicker4, true);
}

QStringList ReportSelectionDialog::Memo1Lines() const
{
    // Before the dialog is first shown the editor has not yet laid its text out in its width;
    // it learns its size now as showing would tell it, so the lines are the ones it will show.
    Memo1->ensurePolished();
    SendPendingResize(Memo1);
    QTextDocument* document = Memo1->document();
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
