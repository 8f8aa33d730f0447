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

    auto* panel = new BevelPanel(this);
    panel->setBevels(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised);
    panel->setBackground(Qt::white);
    panel->setGeometry(8, 8, 273, 375);

    auto* makerName = textLabel(panel, QStringLiteral("НПК \"%1\"").arg(Maker::Name), 15, QColor(0x00, 0x00, 0xFF),
                       QRect(11, 8, 254, 17));
    auto* slogan = textLabel(panel, QStringLiteral("Точность в каждом измерении"), 13, QColor(0xFF, 0x00, 0x00),
                       QRect(8, 32, 257, 17));
    fillBackground(slogan, QColor(0xF0, 0xFB, 0xFF));
    auto* instruments = textLabel(panel,
                       QStringLiteral("Термогигрометры и измерители влажности для лабораторий и складов"),
                       12, QColor(0x00, 0x80, 0x00), QRect(9, 54, 244, 42));
    instruments->setWordWrap(true);

    auto* picture = new QLabel(panel);
    picture->setPixmap(QPixmap(QStringLiteral(":/kelmora/about.png")));
    picture->setScaledContents(true);
    picture->setGeometry(8, 104, 257, 204);

    auto* address = textLabel(panel,
                       QStringLiteral("Россия, 614999, г. Кедровск,\nул. Приборостроителей, д. 17\n"
                                      "тел.: +7 (000) 555-01-20\nфакс: +7 (000) 555-01-21"),
                       11, QColor(0x00, 0x00, 0x80), QRect(8, 312, 257, 55));
    fillBackground(address, QToolTip::palette().color(QPalette::ToolTipBase));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(206, 388, 75, 53);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* writeButton = new QPushButton(QStringLiteral("Написать электронное письмо"), this);
    writeButton->setGeometry(8, 388, 190, 23);
    connect(writeButton, &QPushButton::clicked, this, &AboutBox::writeEMail);

    auto* visitButton = new QPushButton(QStringLiteral("Посетите %1").arg(Maker::WebSiteShown), this);
    visitButton->setGeometry(8, 418, 190, 23);
    connect(visitButton, &QPushButton::clicked, this, &AboutBox::visitWebSite);

    panel->setObjectName(QStringLiteral("Panel1"));
    makerName->setObjectName(QStringLiteral("Label1"));
    slogan->setObjectName(QStringLiteral("Label2"));
    instruments->setObjectName(QStringLiteral("Label3"));
    picture->setObjectName(QStringLiteral("Image1"));
    address->setObjectName(QStringLiteral("Label4"));
    ok->setObjectName(QStringLiteral("OKButton"));
    writeButton->setObjectName(QStringLiteral("Button1"));
    visitButton->setObjectName(QStringLiteral("Button2"));
    dataDirectory_ = new QLabel(this);
    dataDirectory_->setObjectName(QStringLiteral("DataDirectoryLabel"));
    dataDirectory_->setGeometry(8, 449, 273, 28);
    dataDirectory_->setWordWrap(true);
    dataDirectory_->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void AboutBox::setDataDirectory(const QString& directory)
{
    const QString shown = QDir::toNativeSeparators(directory);
    dataDirectory_->setText(QStringLiteral("Отчеты и настройки: %1").arg(shown));
    dataDirectory_->setToolTip(shown);
}

void AboutBox::writeEMail()
{
    dialogs_.openAddress(QStringLiteral("mailto:") + Maker::EMail);
}

void AboutBox::visitWebSite()
{
    dialogs_.openAddress(Maker::WebSite);
}
