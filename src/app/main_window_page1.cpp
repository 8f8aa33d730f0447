// MainWindow: the page control and page 1 "&Операции" — connection buttons, the reading panel,
// the port group, the clock and the logo panel.
#include "app/main_window.h"

#include "device/ui/connection_panel.h"
#include "logging/ui/reading_panel.h"
#include "views/ui/text_report_page.h"
#include "widgets/action_button.h"
#include "widgets/analog_clock.h"
#include "widgets/anchors.h"
#include "widgets/bevel_panel.h"

#include <QAction>
#include <QFontDatabase>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>

void MainWindow::createPages()
{
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setUsesScrollButtons(true);
    setCentralWidget(pages_);

    operationsTab_ = new QWidget;
    operationsTab_->setObjectName(QStringLiteral("TabSheet1"));
    // Made inside the window, so that its labels are sized in the window's font.
    textReportPage_ = new TextReportPage(printTableAction_, printGraphAction_, pages_);
    graphTab_ = new QWidget;
    graphTab_->setObjectName(QStringLiteral("TabSheet3"));
    pages_->addTab(operationsTab_, QStringLiteral("&Операции"));
    pages_->addTab(textReportPage_, QStringLiteral("&Текстовый отчёт"));
    pages_->addTab(graphTab_, QStringLiteral("&Графический отчёт"));
    pages_->setCurrentWidget(operationsTab_);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        if (pages_->widget(index) == graphTab_)
            applyGraphSetupOnShow();
    });

    createOperationsPage();
    createTextReportPage();
    createGraphPage();
}

void MainWindow::createOperationsPage()
{
    auto* anchors = new Anchors(operationsTab_, QSize(1008, 643));

    connectButton_ = new QPushButton(operationsTab_);
    connectButton_->setObjectName(QStringLiteral("Button1"));
    BindButtonToAction(connectButton_, connectAction_);
    anchors->place(connectButton_, {3, 7, 187, 22});
    loadReportButton_ = new QPushButton(operationsTab_);
    loadReportButton_->setObjectName(QStringLiteral("Button2"));
    BindButtonToAction(loadReportButton_, loadReportAction_);
    anchors->place(loadReportButton_, {197, 7, 187, 22});

    // The reading panel, shown after a successful connection check.
    readingPanel_ = new ReadingPanel(QIcon(toolbarPictures_.value(1)), operationsTab_);
    anchors->place(readingPanel_, {4, 32, 766, 546}, Anchor::All);
    connect(readingPanel_, &ReadingPanel::readRequested, this, &MainWindow::takeReading);
    connect(readingPanel_, &ReadingPanel::saveRequested, this, [this] { runUserWork(&MainWindow::saveWorkingReport); });
    readingPanel_->hide();

    // Port choice and transmission mode. A meter that answers the check shows the reading
    // panel and the report actions; a silent one hides them.
    connection_ = new ConnectionPanel(std::move(portToOwn_), clock_, dialogs_, fatalExit_, operationsTab_);
    anchors->place(connection_, {4, 579, 766, 60}, Anchor::Left | Anchor::Right | Anchor::Bottom);
    connect(connection_, &ConnectionPanel::meterAnswered, this, [this](const QString& meterNumber) {
        readingPanel_->setMeterNumber(meterNumber);
        readingPanel_->clearReading();
        if (readingPanel_->isHidden()) {
            setReportActionsEnabled(true);
            readingPanel_->show();
        }
    });
    connect(connection_, &ConnectionPanel::meterSilent, this, [this] {
        setReportActionsEnabled(false);
        readingPanel_->hide();
    });

    // The clock.
    clockGroup_ = new QGroupBox(QStringLiteral(" Время "), operationsTab_);
    clockGroup_->setObjectName(QStringLiteral("GroupBox1"));
    anchors->place(clockGroup_, {776, 4, 228, 574}, Anchor::Top | Anchor::Right | Anchor::Bottom);
    analogClock_ = new AnalogClock(clock_, clockGroup_);
    analogClock_->setObjectName(QStringLiteral("RxClock1"));
    analogClock_->setBorderWidth(4);
    analogClock_->setGeometry(2, 16, 224, 224);

    // The maker's logo panel: a click opens the maker's web site.
    logoPanel_ = new BevelPanel(operationsTab_);
    logoPanel_->setObjectName(QStringLiteral("Panel1"));
    logoPanel_->setBevels(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised);
    logoPanel_->setCaption(QStringLiteral("Ortanel"));
    logoPanel_->setCursor(Qt::PointingHandCursor);
    QFont logo;
    const bool haveFutura = QFontDatabase::families().contains(QStringLiteral("FuturaEugenia"));
    // Without the maker's typeface a plain geometric sans-serif stands in.
    logo.setFamilies(haveFutura ? QStringList{QStringLiteral("FuturaEugenia")}
                                : QStringList{QStringLiteral("URW Gothic"), QStringLiteral("DejaVu Sans")});
    logo.setStyleHint(QFont::SansSerif);
    logo.setPixelSize(37);
    logoPanel_->setFont(logo);
    QPalette pal = logoPanel_->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    logoPanel_->setPalette(pal);
    anchors->place(logoPanel_, {776, 584, 228, 55}, Anchor::Right | Anchor::Bottom);
    connect(logoPanel_, &BevelPanel::clicked, this, &MainWindow::openMakersWebSite);
}
