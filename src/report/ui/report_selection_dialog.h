// ReportSelectionDialog: the report selection dialog "Выбор параметров отчета", created at start and
// reused for every opening of a stored report. The user picks a report of the pool (which is
// prepared at once), reads or edits its comment, may delete reports, and sets the interval.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class Dialogs;
class QComboBox;
class QDateEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;
class WaitProgress;
struct ReportState;

class ReportSelectionDialog : public QDialog {
    Q_OBJECT
public:
    // report is the program's one report in memory (prepared on selection, interval set on
    // confirmation); wait is the wait window the preparation drives (may be null).
    ReportSelectionDialog(Dialogs& dialogs, ReportState& report, WaitProgress* wait, QString poolDirectory,
                QWidget* owner = nullptr);

    // Lists the pool's report files afresh, selects the first and runs SelectReport.
    void RefreshReportList();
    // Loads the selected report's comment and prepares its file; the pickers get its span.
    // Throws ReportFileError when the file cannot be loaded or rewritten.
    void SelectReport();
    // The selected report's comment into the comment editor (Memo1), or the placeholder line
    // when it cannot be read.
    void LoadComment();
    // The comment editor's whole text into the selected report's comment file. Throws
    // ReportFileError.
    void SaveComment();

    // The lines of the comment editor exactly as it displays them: a long line that word wrap
    // breaks counts as the several lines it is shown in; an empty last line is not counted.
    QStringList commentLines() const;
    QString poolDirectory() const;

    // The line the comment editor shows for a report without a readable comment.
    static const QString& commentPlaceholder();

    // Whether the pool holds any report, and the chosen one's file name ("<number>.dat").
    bool poolHasReports() const;
    QString selectedReport() const;

public slots:
    void reportChosen();          // the user chose a report in the list (ComboBox1)
    void commentLeft();           // the focus left the comment editor: the comment is saved
    void deleteSelectedReport();  // "Удалить" (BitBtn2): after two questions
    void confirmInterval();       // "&Ok": the interval from the pickers, seconds dropped

protected:
    void showEvent(QShowEvent* event) override;  // FormShow
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hasReport() const;
    void setPickers(double earliest, double latest);

    QComboBox* reportList_;       // ComboBox1: the pool's reports
    QPushButton* deleteButton_;   // BitBtn2 "Удалить"
    QPlainTextEdit* comment_;     // Memo1: the selected report's comment
    QListWidget* fileList_;       // FileListBox1, hidden: the "*.dat" files of the pool
    QDateEdit* startDate_;        // DateTimePicker1
    QTimeEdit* startTime_;        // DateTimePicker2
    QDateEdit* endDate_;          // DateTimePicker3
    QTimeEdit* endTime_;          // DateTimePicker4

    Dialogs& dialogs_;
    ReportState& report_;
    WaitProgress* wait_;
    QString poolDirectory_;
};
