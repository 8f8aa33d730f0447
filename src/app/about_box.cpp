#include "app/about_box.h"

#include "widgets/design_font.h"

#include "widgets/bevel_panel.h"
#include "widgets/dialogs.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>

namespace {

QLabel* textLabel(QWidget* parent, const QString& text, int pixelSize, const QColor& color, QRect geometry)
{
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setPixelSize(pixelSize);
    f.setBold(true);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, color);
    l->setPalette(pal);
    l->setAlignment(Qt::AlignCenter);
    l->setGeometry(geometry);
    return l;
}

void fillBackground(QLabel* label, const QColor& color)
{
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, color);
    label->setPalette(pal);
}

}  // namespace

AboutBox::AboutBox(Dialogs& dialogs, QWidget* owner) : QDialog(owner), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("FirmBox"));
    setWindowTitle(QStringLiteral("О фирме"));
    // The designed box, and one line below it that says where the data is kept.
    setFixedSize(289, 449 + 34);
    setFont(DesignFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Panel1 = new BevelPanel(this);
    Panel1->setBevels(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised);
    Panel1->setBackground(Qt::white);
    Panel1->setGeometry(8, 8, 273, 375);

    Label1 = textLabel(Panel1, QStringLiteral("НПК \"%1\"").arg(Maker::Name), 15, QColor(0x00, 0x00, 0xFF),
                       QRect(11, 8, 254, 17));
    Label2 = textLabel(Panel1, QStringLiteral("Точность в каждом измерении"), 13, QColor(0xFF, 0x00, 0x00),
                       QRect(8, 32, 257, 17));
    fillBackground(Label2, QColor(0xF0, 0xFB, 0xFF));
    Label3 = textLabel(Panel1,
                       QStringLiteral("Термогигрометры и измерители влажности для лабораторий и складов"),
                       12, QColor(0x00, 0x80, 0x00), QRect(9, 54, 244, 42));
    Label3->setWordWrap(true);

    Image1 = new QLabel(Panel1);
    Image1->setPixmap(QPixmap(QStringLiteral(":/kelmora/about.png")));
    Image1->setScaledContents(true);
    Image1->setGeometry(8, 104, 257, 204);

    Label4 = textLabel(Panel1,
                       QStringLiteral("Россия, 614999, г. Кедровск,\nул. Приборостроителей, д. 17\n"
                                      "тел.: +7 (000) 555-01-20\nфакс: +7 (000) 555-01-21"),
                       11, QColor(0x00, 0x00, 0x80), QRect(8, 312, 257, 55));
    fillBackground(Label4, QToolTip::palette().color(QPalette::ToolTipBase));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(206, 388, 75, 53);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    Button1 = new QPushButton(QStringLiteral("Написать электронное письмо"), this);
    Button1->setGeometry(8, 388, 190, 23);
    connect(Button1, &QPushButton::clicked, this, &AboutBox::Button1Click);

    Button2 = new QPushButton(QStringLiteral("Посетите %1").arg(Maker::WebSiteShown), this);
    Button2->setGeometry(8, 418, 190, 23);
    connect(Button2, &QPushButton::clicked, this, &AboutBox::Button2Click);

    Panel1->setObjectName(QStringLiteral("Panel1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Label4->setObjectName(QStringLiteral("Label4"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    DataDirectoryLabel = new QLabel(this);
    DataDirectoryLabel->setObjectName(QStringLiteral("DataDirectoryLabel"));
    DataDirectoryLabel->setGeometry(8, 449, 273, 28);
    DataDirectoryLabel->setWordWrap(true);
    DataDirectoryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void AboutBox::setDataDirectory(const QString& directory)
{
    const QString shown = QDir::toNativeSeparators(directory);
    DataDirectoryLabel->setText(QStringLiteral("Отчеты и настройки: %1").arg(shown));
    DataDirectoryLabel->setToolTip(shown);
}

void AboutBox::Button1Click()
{
    dialogs_.OpenAddress(QStringLiteral("mailto:") + Maker::EMail);
}

void AboutBox::Button2Click()
{
    dialogs_.OpenAddress(Maker::WebSite);
}
