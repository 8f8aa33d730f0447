// TMainForm: page 2 "&Текстовый отчёт" as designed — the title strip with the print buttons,
// the table, the minimum and maximum figures, the threshold fields and the display-mode
// selector with its click handling.
#include "app/main_form.h"

#include "views/ui/graph_page.h"

#include "widgets/anchors.h"
#include "widgets/design_label.h"
#include "widgets/bevel_panel.h"
#include "widgets/mask_edit.h"
#include "widgets/radio_group.h"
#include "views/ui/report_table_model.h"
#include "views/ui/time_chart.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

QPushButton* bindButtonToAction(QPushButton* button, QAction* action);

namespace {

QLineEdit* figure(QWidget* parent, QRect at)
{
    auto* e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setGeometry(at);
    return e;
}

MaskEdit* threshold(QWidget* parent, QRect at, const QString& design)
{
    auto* m = new MaskEdit(parent);
    m->setGeometry(at);
    m->setText(design);
    return m;
}

}  // namespace

void TMainForm::CreatePage2()
{
    auto* page = new Anchors(TabSheet2, QSize(1008, 643));
    Panel4 = new BevelPanel(TabSheet2);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setBevels(BevelPanel::Bevel::None, BevelPanel::Bevel::None);
    page->place(Panel4, {0, 0, 1008, 34}, Anchor::Left | Anchor::Top | Anchor::Right);
    Label19 = DesignLabel(QStringLiteral("..."), Panel4, {320, 2});
    Label19->setObjectName(QStringLiteral("Label19"));
    Button10 = bindButtonToAction(new QPushButton(Panel4), AcPrintReport);
    Button10->setObjectName(QStringLiteral("Button10"));
    Button10->setGeometry(3, 7, 148, 22);
    Button11 = bindButtonToAction(new QPushButton(Panel4), AcPrintGraph);
    Button11->setObjectName(QStringLiteral("Button11"));
    Button11->setGeometry(158, 7, 148, 22);

    Panel3 = new BevelPanel(TabSheet2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setBevels(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised);
    page->place(Panel3, {0, 34, 1008, 609}, Anchor::All);
    auto* inPanel3 = new Anchors(Panel3, QSize(1008, 609));
    Panel2 = new BevelPanel(Panel3);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setBevels(BevelPanel::Bevel::None, BevelPanel::Bevel::None);
    Panel2->setBorderWidth(10);
    inPanel3->place(Panel2, {2, 2, 1004, 605}, Anchor::All);
    auto* inPanel2 = new Anchors(Panel2, QSize(1004, 605));

    Grid1 = new QTableView(Panel2);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->verticalHeader()->hide();
    Grid1->verticalHeader()->setDefaultSectionSize(18);
    Grid1->horizontalHeader()->setFixedHeight(18);
    Grid1->horizontalHeader()->setStretchLastSection(true);
    Grid1->setShowGrid(true);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->verticalHeader()->setMinimumSectionSize(18);
    Grid1->horizontalHeader()->setSectionsClickable(false);
    Grid1->horizontalHeader()->setHighlightSections(false);
    Grid1->setWordWrap(false);
    Grid1Model = new ReportTableModel(this);
    Grid1->setModel(Grid1Model);
    Grid1->setItemDelegate(new Grid1CellPainter(Grid1, Grid1Model));
    Grid1->setCurrentIndex(Grid1Model->index(0, 0));
    inPanel2->place(Grid1, {10, 10, 299, 585}, Anchor::Left | Anchor::Top | Anchor::Bottom);

    Label16 = DesignLabel(QStringLiteral("Относительная"), Panel2, {318, 10});
    Label9 = DesignLabel(QStringLiteral("влажность - RH, %:"), Panel2, {318, 26});
    Label10 = DesignLabel(QStringLiteral("Порог:"), Panel2, {455, 26});
    Label11 = DesignLabel(QStringLiteral("Минимальная:"), Panel2, {319, 58});
    Edit1 = figure(Panel2, {408, 55, 40, 21});
    MaskEdit7 = threshold(Panel2, {456, 55, 40, 21}, QStringLiteral("+00,0"));
    Label12 = DesignLabel(QStringLiteral("Максимальная:"), Panel2, {319, 91});
    Edit2 = figure(Panel2, {408, 88, 40, 21});
    MaskEdit8 = threshold(Panel2, {456, 88, 40, 21}, QStringLiteral("+99,9"));
    Label17 = DesignLabel(QStringLiteral("Температура, °С:"), Panel2, {318, 126});
    Label13 = DesignLabel(QStringLiteral("Порог:"), Panel2, {455, 126});
    Label14 = DesignLabel(QStringLiteral("Минимальная:"), Panel2, {319, 157});
    Edit3 = figure(Panel2, {408, 154, 40, 21});
    MaskEdit9 = threshold(Panel2, {456, 154, 40, 21}, QStringLiteral("-40,0"));
    Label15 = DesignLabel(QStringLiteral("Максимальная:"), Panel2, {319, 190});
    Edit4 = figure(Panel2, {408, 187, 40, 21});
    MaskEdit10 = threshold(Panel2, {456, 187, 40, 21}, QStringLiteral("+60,0"));
    for (MaskEdit* m : {MaskEdit7, MaskEdit8, MaskEdit9, MaskEdit10})
        connect(m, &MaskEdit::exited, this, &TMainForm::MaskEdit7Exit);
    MaskEdit7->setObjectName(QStringLiteral("MaskEdit7"));
    MaskEdit8->setObjectName(QStringLiteral("MaskEdit8"));
    MaskEdit9->setObjectName(QStringLiteral("MaskEdit9"));
    MaskEdit10->setObjectName(QStringLiteral("MaskEdit10"));

    RadioGroup1 = new RadioGroup(QStringLiteral(" Показания "),
                                 {QStringLiteral("RH, %"), QStringLiteral("T т.р., °С"), QStringLiteral("A, г/куб.м")},
                                 Panel2);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(320, 224, 177, 86);
    RadioGroup1->setItemIndex(0);
    connect(RadioGroup1, &RadioGroup::clicked, this, &TMainForm::RadioGroup1Click);
}

void TMainForm::RadioGroup1Click()
{
    struct Texts {
        const char* label16;
        const char* label9;
        const char* header;
    };
    static const Texts texts[] = {
        {"Относительная", "влажность - RH, %:", "RH, %"},
        {"Температура", "точки росы - T, °C:", "Tт.р., °C"},
        {"Абсолютная", "влажность - A, г/куб.м", "A, г/куб.м"},
    };
    const int index = RadioGroup1->itemIndex();
    if (index >= 0 && index < 3) {
        Label16->setText(QString::fromUtf8(texts[index].label16));
        Label16->adjustSize();
        Label9->setText(QString::fromUtf8(texts[index].label9));
        Label9->adjustSize();
        Grid1Model->setHeaderData(2, Qt::Horizontal, QString::fromUtf8(texts[index].header));
    }
    DisplayMode = static_cast<std::uint8_t>(index & 0xFF);
    Panel5->setDisplayMode(DisplayMode, index >= 0 && index < 3);
    BuildReport(false);
}

void TMainForm::MaskEdit7Exit()
{
    BuildReport(false);
}
