// "Анализ климата": the climate analysis of the loaded report's interval as a page in Russian
// (the figures and the daily table), and "Сохранить…" for its three forms — the page as text,
// the daily table as CSV, everything as JSON. The analysis is made by the core
// (AnalyseClimate); the dialog only shows and saves it. It is not modal: readings go on
// while it is open, and it shows the analysis made when it was opened.
#pragma once

#include "report/climate_analysis.h"

#include <QDialog>

class Dialogs;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class ClimateAnalysisDialog : public QDialog {
    Q_OBJECT
public:
    // directory: where "Сохранить…" proposes to save.
    ClimateAnalysisDialog(Dialogs& dialogs, QString directory, QWidget* parent = nullptr);

    // Shows the analysis of the report named reportTitle.
    void showAnalysis(ClimateAnalysis analysis, const QString& reportTitle);
    const ClimateAnalysis& analysis() const { return analysis_; }

    QPlainTextEdit* page() const { return page_; }

    // "Сохранить…": the save dialog, then the chosen form written (a file that cannot be
    // written is told in the standard error box, an old file left as it was).
    void save();

private:
    Dialogs& dialogs_;
    QString directory_;
    ClimateAnalysis analysis_;
    QLabel* title_;
    QPlainTextEdit* page_;
    QPushButton* saveButton_;
    QPushButton* closeButton_;
    int lastSaveEntry_ = 1;
};
