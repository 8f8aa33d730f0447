#include "views/ui/climate_analysis_dialog.h"

#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "views/climate_analysis_text.h"
#include "views/export_file.h"
#include "widgets/dialogs.h"
#include "widgets/standard_error.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

struct AnalysisForm {
    const char* filter;
    const char* pattern;
    const char* extension;
};

constexpr AnalysisForm kForms[] = {
    {"Текст (*.txt)", "*.txt", ".txt"},
    {"Таблица по дням CSV (*.csv)", "*.csv", ".csv"},
    {"JSON для программ (*.json)", "*.json", ".json"},
};

}  // namespace

ClimateAnalysisDialog::ClimateAnalysisDialog(Dialogs& dialogs, QString directory, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), directory_(std::move(directory))
{
    setObjectName(QStringLiteral("ClimateAnalysisDialog"));
    setWindowTitle(QStringLiteral("Анализ климата"));
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("AnalysisTitle"));
    page_ = new QPlainTextEdit(this);
    page_->setObjectName(QStringLiteral("AnalysisPage"));
    page_->setReadOnly(true);
    page_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The tables of the page are laid out in columns of characters.
    page_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    saveButton_ = new QPushButton(QStringLiteral("Сохранить…"), this);
    saveButton_->setObjectName(QStringLiteral("AnalysisSave"));
    closeButton_ = new QPushButton(QStringLiteral("Закрыть"), this);
    closeButton_->setObjectName(QStringLiteral("AnalysisClose"));
    closeButton_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(page_, 1);
    layout->addLayout(buttons);
    connect(saveButton_, &QPushButton::clicked, this, &ClimateAnalysisDialog::save);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);
    resize(980, 640);
}

void ClimateAnalysisDialog::showAnalysis(ClimateAnalysis analysis, const QString& reportTitle)
{
    analysis_ = std::move(analysis);
    title_->setText(reportTitle);
    page_->setPlainText(ClimateAnalysisText(analysis_));
}

void ClimateAnalysisDialog::save()
{
    SaveFileRequest request;
    request.title = QStringLiteral("Сохранить анализ климата");
    request.directory = directory_;
    request.fileName = QStringLiteral("analysis") + QString::fromLatin1(kForms[lastSaveEntry_ - 1].extension);
    for (const AnalysisForm& form : kForms) {
        request.filters << QString::fromUtf8(form.filter);
        request.patterns << QString::fromLatin1(form.pattern);
    }
    request.filterIndex = lastSaveEntry_;
    const Dialogs::OwnerScope owned(dialogs_, this);
    const std::optional<SaveFileChoice> choice = dialogs_.saveFile(request);
    if (!choice)
        return;
    lastSaveEntry_ = std::clamp(choice->filterIndex, 1, int(std::size(kForms)));
    const QString fileName = ChangeFileExt(choice->fileName, QString::fromLatin1(kForms[lastSaveEntry_ - 1].extension));
    const QByteArray bytes = lastSaveEntry_ == 1   ? ClimateAnalysisText(analysis_).toUtf8()
                             : lastSaveEntry_ == 2 ? ClimateAnalysisCsv(analysis_)
                                                   : ClimateAnalysisJson(analysis_);
    try {
        WriteExportFile(fileName, [&bytes](QIODevice& device) {
            if (device.write(bytes) != bytes.size())
                throw ReportFileError(device.errorString());
        });
    } catch (const ReportFileError& e) {
        ShowStandardError(dialogs_, e.text());
    }
}
