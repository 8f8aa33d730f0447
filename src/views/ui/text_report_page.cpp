#include "views/ui/text_report_page.h"

#include "report/report_table.h"
#include "views/ui/report_table_model.h"
#include "widgets/action_button.h"
#include "widgets/anchors.h"
#include "widgets/bevel_panel.h"
#include "widgets/design_label.h"
#include "widgets/mask_edit.h"
#include "widgets/radio_group.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {

QLineEdit* figure(QWidget* parent, QRect at, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setGeometry(at);
    return e;
}

MaskEdit* threshold(QWidget* parent, QRect at, const QString& design, const char* name)
{
    auto* m = new MaskEdit(parent);
    m->setObjectName(QLatin1String(name));
    m->setGeometry(at);
    m->setText(design);
    return m;
}

}  // namespace

TextReportPage::TextReportPage(QAction* printTable, QAction* printGraph, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet2"));
    auto* page = new Anchors(this, QSize(1008, 643));
    auto* strip = new BevelPanel(this);
    strip->setObjectName(QStringLiteral("Panel4"));
    strip->setBevels(BevelPanel::Bevel::None, BevelPanel::Bevel::None);
    page->place(strip, {0, 0, 1008, 34}, Anchor::Left | Anchor::Top | Anchor::Right);
    title_ = DesignLabel(QStringLiteral("..."), strip, {320, 2});
    title_->setObjectName(QStringLiteral("Label19"));
    auto* printTableButton = new QPushButton(strip);
    BindButtonToAction(printTableButton, printTable);
    printTableButton->setObjectName(QStringLiteral("Button10"));
    printTableButton->setGeometry(3, 7, 148, 22);
    auto* printGraphButton = new QPushButton(strip);
    BindButtonToAction(printGraphButton, printGraph);
    printGraphButton->setObjectName(QStringLiteral("Button11"));
    printGraphButton->setGeometry(158, 7, 148, 22);

    auto* frame = new BevelPanel(this);
    frame->setObjectName(QStringLiteral("Panel3"));
    frame->setBevels(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised);
    page->place(frame, {0, 34, 1008, 609}, Anchor::All);
    auto* inFrame = new Anchors(frame, QSize(1008, 609));
    auto* body = new BevelPanel(frame);
    body->setObjectName(QStringLiteral("Panel2"));
    body->setBevels(BevelPanel::Bevel::None, BevelPanel::Bevel::None);
    body->setBorderWidth(10);
    inFrame->place(body, {2, 2, 1004, 605}, Anchor::All);
    auto* inBody = new Anchors(body, QSize(1004, 605));

    table_ = new QTableView(body);
    table_->setObjectName(QStringLiteral("Grid1"));
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(18);
    table_->horizontalHeader()->setFixedHeight(18);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setShowGrid(true);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setMinimumSectionSize(18);
    table_->horizontalHeader()->setSectionsClickable(false);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->setWordWrap(false);
    model_ = new ReportTableModel(this);
    table_->setModel(model_);
    table_->setItemDelegate(new ReportCellPainter(table_, model_));
    table_->setCurrentIndex(model_->index(0, 0));
    inBody->place(table_, {10, 10, 299, 585}, Anchor::Left | Anchor::Top | Anchor::Bottom);

    humidityTitle_ = DesignLabel(QStringLiteral("Относительная"), body, {318, 10});
    humidityTitle_->setObjectName(QStringLiteral("Label16"));
    humidityUnit_ = DesignLabel(QStringLiteral("влажность - RH, %:"), body, {318, 26});
    humidityUnit_->setObjectName(QStringLiteral("Label9"));
    DesignLabel(QStringLiteral("Порог:"), body, {455, 26}, "Label10");
    DesignLabel(QStringLiteral("Минимальная:"), body, {319, 58}, "Label11");
    humidityMin_ = figure(body, {408, 55, 40, 21}, "Edit1");
    humidityLow_ = threshold(body, {456, 55, 40, 21}, QStringLiteral("+00,0"), "MaskEdit7");
    DesignLabel(QStringLiteral("Максимальная:"), body, {319, 91}, "Label12");
    humidityMax_ = figure(body, {408, 88, 40, 21}, "Edit2");
    humidityHigh_ = threshold(body, {456, 88, 40, 21}, QStringLiteral("+99,9"), "MaskEdit8");
    DesignLabel(QStringLiteral("Температура, °С:"), body, {318, 126}, "Label17");
    DesignLabel(QStringLiteral("Порог:"), body, {455, 126}, "Label13");
    DesignLabel(QStringLiteral("Минимальная:"), body, {319, 157}, "Label14");
    temperatureMin_ = figure(body, {408, 154, 40, 21}, "Edit3");
    temperatureLow_ = threshold(body, {456, 154, 40, 21}, QStringLiteral("-40,0"), "MaskEdit9");
    DesignLabel(QStringLiteral("Максимальная:"), body, {319, 190}, "Label15");
    temperatureMax_ = figure(body, {408, 187, 40, 21}, "Edit4");
    temperatureHigh_ = threshold(body, {456, 187, 40, 21}, QStringLiteral("+60,0"), "MaskEdit10");
    for (MaskEdit* m : {humidityLow_, humidityHigh_, temperatureLow_, temperatureHigh_})
        connect(m, &MaskEdit::exited, this, &TextReportPage::thresholdLeft);

    modeSelector_ = new RadioGroup(QStringLiteral(" Показания "),
                                   {QStringLiteral("RH, %"), QStringLiteral("T т.р., °С"), QStringLiteral("A, г/куб.м")},
                                   body);
    modeSelector_->setObjectName(QStringLiteral("RadioGroup1"));
    modeSelector_->setGeometry(320, 224, 177, 86);
    modeSelector_->setItemIndex(0);
    connect(modeSelector_, &RadioGroup::clicked, this, &TextReportPage::displayModeClicked);
}

void TextReportPage::showTable(std::shared_ptr<const ReportTable> table)
{
    // The current cell stays where it was while the table still has it.
    const QModelIndex current = table_->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const int column = current.isValid() ? current.column() : 0;
    model_->setTable(table);
    table_->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), column));

    title_->setText(table->title());
    title_->adjustSize();
    // A figure wider than its field (a dew point or absolute humidity to fifteen digits) shows
    // its beginning, as a classic edit field does, and the whole of it when the pointer rests on
    // the field.
    const auto show = [](QLineEdit* edit, const QString& text) {
        edit->setText(text);
        edit->setCursorPosition(0);
        edit->setToolTip(text);
    };
    show(humidityMin_, table->humidityMinText());
    show(humidityMax_, table->humidityMaxText());
    show(temperatureMin_, table->temperatureMinText());
    show(temperatureMax_, table->temperatureMaxText());
}

QFont TextReportPage::cellFont() const
{
    return table_->font();
}

QPalette TextReportPage::tablePalette() const
{
    return table_->palette();
}

void TextReportPage::chooseDisplayMode(int mode)
{
    modeSelector_->setItemIndex(mode);  // runs the click handling
}

ThresholdTexts TextReportPage::thresholdTexts() const
{
    return {humidityLow_->text(), humidityHigh_->text(), temperatureLow_->text(), temperatureHigh_->text()};
}

void TextReportPage::setThresholdTexts(const ThresholdTexts& texts)
{
    humidityLow_->setText(texts.minHumidity);
    humidityHigh_->setText(texts.maxHumidity);
    temperatureLow_->setText(texts.minTemperature);
    temperatureHigh_->setText(texts.maxTemperature);
}

void TextReportPage::fitColumns()
{
    // Column widths: (table width − its scroll-bar width setting) div column count.
    const int columns = model_->columnCount();
    if (columns > 0) {
        const int width = (table_->width() - 18) / columns;
        for (int c = 0; c < columns; ++c)
            table_->setColumnWidth(c, width);
    }
}

void TextReportPage::displayModeClicked()
{
    struct Texts {
        const char* title;
        const char* unit;
    };
    static const Texts texts[] = {
        {"Относительная", "влажность - RH, %:"},
        {"Температура", "точки росы - T, °C:"},
        {"Абсолютная", "влажность - A, г/куб.м"},
    };
    const int index = modeSelector_->itemIndex();
    if (index >= 0 && index < 3) {
        humidityTitle_->setText(QString::fromUtf8(texts[index].title));
        humidityTitle_->adjustSize();
        humidityUnit_->setText(QString::fromUtf8(texts[index].unit));
        humidityUnit_->adjustSize();
        model_->setHeaderData(2, Qt::Horizontal, ReportTable::headerText(2, index));
    }
    displayMode_ = static_cast<std::uint8_t>(index & 0xFF);
    emit displayModeChosen(index);
}
