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
class QGroupBox;
class QLabel;
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

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QComboBox* ComboBox1;
    QPushButton* BitBtn2;
    QLabel* Label2;
    QPlainTextEdit* Memo1;
    QListWidget* FileListBox1;  // hidden: the "*.dat" files of the pool
    QGroupBox* GroupBox2;
    QLabel* Label3;
    QDateEdit* DateTimePicker1;
    QTimeEdit* DateTimePicker2;
    QLabel* Label6;
    QDateEdit* DateTimePicker3;
    QTimeEdit* DateTimePicker4;
    QLabel* Label4;
    QLabel* Label5;
    QPushButton* Button1;
    QPushButton* Button2;

    // Lists the pool's report files afresh, selects the first and runs SelectReport.
    void RefreshReportList();
    // Loads the selected report's comment and prepares its file; the pickers get its span.
    // Throws ReportFileError when the file cannot be loaded or rewritten.
    void SelectReport();
    // The selected report's comment into Memo1, or the placeholder line when it cannot be read.
    void LoadComment();
    // Memo1's whole text into the selected report's comment file. Throws ReportFileError.
    void SaveComment();

    // The lines of Memo1 exactly as the editor displays them: a long line that word wrap
    // breaks counts as the several lines it is shown in; an empty last line is not counted.
    QStringList Memo1Lines() const;
    QString poolDirectory() const;

    // The line Memo1 shows for a report without a readable comment.
    static const QString& CommentPlaceholder();

public slots:
    void ComboBox1Change();  // the user's selection changes only
    void Memo1Exit();        // focus leaves Memo1
    void BitBtn2Click();     // delete the selected report after two questions
    void Button1Click();     // the interval from the pickers, seconds dropped

protected:
    void showEvent(QShowEvent* event) override;  // FormShow
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hasReport() const;
    QString selectedReport() const;
    void setPickers(double earliest, double latest);

    Dialogs& dialogs_;
    ReportState& report_;
    WaitProgress* wait_;
    QString poolDirectory_;
};
