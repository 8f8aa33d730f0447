// MainWindow: the page control and page 1 "&Операции" — connection buttons, the reading panel,
// the port group, the clock and the logo panel.
#include "app/main_window.h"
#include "logging/ui/reading_panel.h"
#include "views/ui/text_report_page.h"
#include "device/ui/connection_panel.h"
#include "logging/meter_reading.h"
#include "widgets/typed_length_limit.h"

#include "widgets/action_button.h"
#include "widgets/analog_clock.h"
#include "widgets/anchors.h"
#include "widgets/design_label.h"
#include "widgets/bevel_panel.h"
#include "widgets/on_off_switch.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

void MainWindow::CreatePages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(true);
    setCentralWidget(PageControl1);

    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    // Made inside the window, so that its labels are sized in the window's font.
    TabSheet2 = new TextReportPage(AcPrintReport, AcPrintGraph, PageControl1);
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet1, QStringLiteral("&Операции"));
    PageControl1->addTab(TabSheet2, QStringLiteral("&Текстовый отчёт"));
    PageControl1->addTab(TabSheet3, QStringLiteral("&Графический отчёт"));
    PageControl1->setCurrentWidget(TabSheet1);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PageControl1->widget(index) == TabSheet3)
            TabSheet3Show();
    });

    CreatePage1();
    CreatePage2();
    CreatePage3();
}

void MainWindow::CreatePage1()
{
    auto* anchors = new Anchors(TabSheet1, QSize(1008, 643));

    Button1 = new QPushButton(TabSheet1);
    Button1->setObjectName(QStringLiteral("Button1"));
    BindButtonToAction(Button1, AcConnect);
    anchors->place(Button1, {3, 7, 187, 22});
    Button2 = new QPushButton(TabSheet1);
    Button2->setObjectName(QStringLiteral("Button2"));
    BindButtonToAction(Button2, AcLoadReport);
    anchors->place(Button2, {197, 7, 187, 22});

    // The reading panel, shown after a successful connection check.
    readingPanel_ = new ReadingPanel(QIcon(ImageList1.value(1)), TabSheet1);
    anchors->place(readingPanel_, {4, 32, 766, 546}, Anchor::All);
    connect(readingPanel_, &ReadingPanel::readRequested, this, &MainWindow::takeReading);
    connect(readingPanel_, &ReadingPanel::saveRequested, this, &MainWindow::saveWorkingReport);
    readingPanel_->hide();

    // Port choice and transmission mode. A meter that answers the check shows the reading
    // panel and the report actions; a silent one hides them.
    connection_ = new ConnectionPanel(std::move(portToOwn_), clock_, dialogs_, FatalStop, TabSheet1);
    anchors->place(connection_, {4, 579, 766, 60}, Anchor::Left | Anchor::Right | Anchor::Bottom);
    connect(connection_, &ConnectionPanel::meterAnswered, this, [this](const QString& meterNumber) {
        readingPanel_->setMeterNumber(meterNumber);
        readingPanel_->clearReading();
        if (readingPanel_->isHidden()) {
            SetReportActions(true);
            readingPanel_->show();
        }
    });
    connect(connection_, &ConnectionPanel::meterSilent, this, [this] {
        SetReportActions(false);
        readingPanel_->hide();
    });

    // The clock.
    GroupBox1 = new QGroupBox(QStringLiteral(" Время "), TabSheet1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    anchors->place(GroupBox1, {776, 4, 228, 574}, Anchor::Top | Anchor::Right | Anchor::Bottom);
    RxClock1 = new AnalogClock(clock_, GroupBox1);
    RxClock1->setObjectName(QStringLiteral("RxClock1"));
    RxClock1->setBorderWidth(4);
    RxClock1->setGeometry(2, 16, 224, 224);

    // The maker's logo panel: a click opens the maker's web site.
    Panel1 = new BevelPanel(TabSheet1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setBevels(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised);
    Panel1->setCaption(QStringLiteral("Ortanel"));
    Panel1->setCursor(Qt::PointingHandCursor);
    QFont logo;
    const bool haveFutura = QFontDatabase::families().contains(QStringLiteral("FuturaEugenia"));
    // Without the maker's typeface a plain geometric sans-serif stands in.
    logo.setFamilies(haveFutura ? QStringList{QStringLiteral("FuturaEugenia")}
                                : QStringList{QStringLiteral("URW Gothic"), QStringLiteral("DejaVu Sans")});
    logo.setStyleHint(QFont::SansSerif);
    logo.setPixelSize(37);
    Panel1->setFont(logo);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(pal);
    anchors->place(Panel1, {776, 584, 228, 55}, Anchor::Right | Anchor::Bottom);
    connect(Panel1, &BevelPanel::clicked, this, &MainWindow::Panel1Click);
}
