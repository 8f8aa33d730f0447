// TMainForm: the page control and page 1 "&Операции" — connection buttons, the reading panel
// " Отчет ", the port group, the clock and the logo panel.
#include "app/main_form.h"
#include "logging/meter_reading.h"
#include "widgets/typed_length_limit.h"

#include "widgets/analog_clock.h"
#include "widgets/anchors.h"
#include "widgets/design_label.h"
#include "widgets/bevel_panel.h"
#include "widgets/on_off_switch.h"
#include "device/port_names.h"

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

namespace {

// A button bound to an action shows the action's caption and hint and follows its enabled state.
void bindToAction(QPushButton* button, QAction* action)
{
    auto sync = [button, action] {
        button->setText(action->text());
        button->setToolTip(action->toolTip());
        button->setStatusTip(action->statusTip());
        button->setEnabled(action->isEnabled());
    };
    sync();
    QObject::connect(action, &QAction::changed, button, sync);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
}

QLabel* valueLabel(QGroupBox* group)
{
    auto* l = new QLabel(kNoReadingText, group);
    QFont f = l->font();
    f.setPixelSize(21);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    l->setGeometry(group->contentsRect());
    return l;
}

}  // namespace

QPushButton* bindButtonToAction(QPushButton* button, QAction* action)
{
    bindToAction(button, action);
    return button;
}

void TMainForm::CreatePages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(true);
    setCentralWidget(PageControl1);

    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
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

void TMainForm::CreatePage1()
{
    auto* anchors = new Anchors(TabSheet1, QSize(1008, 643));

    Button1 = new QPushButton(TabSheet1);
    Button1->setObjectName(QStringLiteral("Button1"));
    bindToAction(Button1, AcConnect);
    anchors->place(Button1, {3, 7, 187, 22});
    Button2 = new QPushButton(TabSheet1);
    Button2->setObjectName(QStringLiteral("Button2"));
    bindToAction(Button2, AcLoadReport);
    anchors->place(Button2, {197, 7, 187, 22});

    // The reading panel, shown after a successful connection check.
    GroupBox4 = new QGroupBox(QStringLiteral(" Отчет "), TabSheet1);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    anchors->place(GroupBox4, {4, 32, 766, 546}, Anchor::All);
    Button3 = new QPushButton(QStringLiteral("Считать данные"), GroupBox4);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(12, 20, 241, 23);
    connect(Button3, &QPushButton::clicked, this, &TMainForm::Button3Click);
    GroupBox3 = new QGroupBox(QStringLiteral(" RH, % "), GroupBox4);
    GroupBox3->setGeometry(12, 52, 117, 53);
    Label1 = valueLabel(GroupBox3);
    Label1->setObjectName(QStringLiteral("Label1"));
    GroupBox5 = new QGroupBox(QStringLiteral(" T, °C "), GroupBox4);
    GroupBox5->setGeometry(136, 52, 117, 53);
    Label2 = valueLabel(GroupBox5);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label4 = DesignLabel(QStringLiteral("Имя файла отчета:"), GroupBox4, {12, 120});
    repNameEdit = new QLineEdit(GroupBox4);
    repNameEdit->setObjectName(QStringLiteral("repNameEdit"));
    repNameEdit->setGeometry(116, 116, 105, 21);
    SpeedButton1 = new QToolButton(GroupBox4);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(230, 116, 23, 22);
    SpeedButton1->setIcon(QIcon(ImageList1.value(1)));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setToolTip(QStringLiteral("Сохранить"));
    SpeedButton1->setStatusTip(QStringLiteral("Сохранить"));
    connect(SpeedButton1, &QToolButton::clicked, this, &TMainForm::SpeedButton1Click);
    Switch1 = new OnOffSwitch(QStringLiteral("Автоматическое считывание данных"), GroupBox4);
    Switch1->setObjectName(QStringLiteral("Switch1"));
    Switch1->setGeometry(10, 147, 251, 24);
    Switch1->setToolTip(QStringLiteral("Вкл./Выкл. автоматическое считывание данных"));
    Switch1->setStatusTip(Switch1->toolTip());
    connect(Switch1, &OnOffSwitch::switchedOn, this, &TMainForm::Switch1On);
    connect(Switch1, &OnOffSwitch::switchedOff, this, &TMainForm::Switch1Off);
    Label7 = DesignLabel(QStringLiteral("Номер прибора:"), GroupBox4, {14, 182});
    Label8 = DesignLabel(QStringLiteral("-----"), GroupBox4, {106, 182});
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setMinimumWidth(40);
    Label3 = DesignLabel(QStringLiteral("Интервал считывания:"), GroupBox4, {14, 212});
    Edit5 = new QLineEdit(GroupBox4);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    Edit5->setGeometry(148, 209, 65, 21);
    // Three characters for typing; an interval from the settings file passes unchanged.
    new TypedLengthLimit(Edit5, 3);
    Label22 = DesignLabel(QStringLiteral("сек."), GroupBox4, {228, 212});
    Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    GroupBox4->hide();

    // Port choice and transmission mode.
    GroupBox2 = new QGroupBox(TabSheet1);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    anchors->place(GroupBox2, {4, 579, 766, 60}, Anchor::Left | Anchor::Right | Anchor::Bottom);
    Button8 = new QPushButton(QStringLiteral("Автоопределение"), GroupBox2);
    Button8->setObjectName(QStringLiteral("Button8"));
    Button8->setGeometry(16, 21, 120, 22);
    connect(Button8, &QPushButton::clicked, this, &TMainForm::Button8Click);
    Button9 = new QPushButton(QStringLiteral("Вручную"), GroupBox2);
    Button9->setObjectName(QStringLiteral("Button9"));
    Button9->setGeometry(136, 21, 81, 22);
    connect(Button9, &QPushButton::clicked, this, &TMainForm::Button9Click);
    Label18 = DesignLabel(QStringLiteral("COM:"), GroupBox2, {224, 26});
    ComboBoxDeviceName = new QComboBox(GroupBox2);
    ComboBoxDeviceName->setObjectName(QStringLiteral("ComboBoxDeviceName"));
    ComboBoxDeviceName->setEditable(true);
    ComboBoxDeviceName->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxDeviceName->addItems(portNames());
    ComboBoxDeviceName->setGeometry(265, 22, 104, 21);
    ComboBoxDeviceName->setEditText(QStringLiteral("COM1"));
    ComboBoxDeviceName->setEnabled(false);
    // Only the user's changes count: choosing an entry, and every edit while typing.
    connect(ComboBoxDeviceName, &QComboBox::activated, this, &TMainForm::ComboBoxDeviceNameChange);
    // Every keystroke of a listed name tries the port at once. A device path is long and each
    // of its prefixes would fail with a box of its own: it is tried when the user presses
    // Enter or leaves the box.
    const auto isDevicePath = [](const QString& text) { return text.startsWith(QLatin1Char('/')); };
    connect(ComboBoxDeviceName->lineEdit(), &QLineEdit::textEdited, this, [this, isDevicePath](const QString& text) {
        if (!isDevicePath(text))
            ComboBoxDeviceNameChange();
    });
    connect(ComboBoxDeviceName->lineEdit(), &QLineEdit::editingFinished, this, [this, isDevicePath] {
        if (isDevicePath(ComboBoxDeviceName->currentText()))
            ComboBoxDeviceNameChange();
    });
    usb = new QCheckBox(QStringLiteral("USB"), GroupBox2);
    usb->setObjectName(QStringLiteral("usb"));
    usb->move(388, 24);
    usb->adjustSize();

    // The clock and, never on screen, the logo picture of the graph printout.
    GroupBox1 = new QGroupBox(QStringLiteral(" Время "), TabSheet1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    anchors->place(GroupBox1, {776, 4, 228, 574}, Anchor::Top | Anchor::Right | Anchor::Bottom);
    RxClock1 = new AnalogClock(clock_, GroupBox1);
    RxClock1->setObjectName(QStringLiteral("RxClock1"));
    RxClock1->setBorderWidth(4);
    RxClock1->setGeometry(2, 16, 224, 224);
    Image1 = QPixmap(QStringLiteral(":/kelmora/logo.png"));

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
    connect(Panel1, &BevelPanel::clicked, this, &TMainForm::Panel1Click);
}
