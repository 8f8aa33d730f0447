#include "views/ui/select_form.h"

#include "app/ui/design_font.h"

#include "app/ui/mask_edit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

void axisGroup(QGroupBox* group, QComboBox*& mode, MaskEdit*& minimum, MaskEdit*& maximum)
{
    (new QLabel(QStringLiteral("Режим:"), group))->move(16, 24);
    mode = new QComboBox(group);
    mode->addItems(TSelectForm::AxisModes());
    mode->setGeometry(72, 20, 177, 21);
    (new QLabel(QStringLiteral("Минимум:"), group))->move(16, 56);
    minimum = new MaskEdit(group);
    minimum->setGeometry(80, 52, 40, 21);
    (new QLabel(QStringLiteral("Максимум:"), group))->move(136, 56);
    maximum = new MaskEdit(group);
    maximum->setGeometry(208, 52, 40, 21);
}

}  // namespace

const QStringList& TSelectForm::AxisModes()
{
    static const QStringList modes{QStringLiteral("Выключена"), QStringLiteral("Автоматические пределы"),
                                   QStringLiteral("Весь диапазон"), QStringLiteral("Ручной ввод")};
    return modes;
}

TSelectForm::TSelectForm(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SelectForm"));
    setWindowTitle(QStringLiteral("Настройка графика"));
    setFixedSize(272, 463);
    setFont(DesignFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    GroupBox1 = new QGroupBox(QStringLiteral(" Ось времени / даты "), this);
    GroupBox1->setGeometry(6, 4, 259, 229);
    GroupBox2 = new QGroupBox(QStringLiteral(" Ось влажности "), this);
    GroupBox2->setGeometry(6, 238, 259, 88);
    axisGroup(GroupBox2, ComboBox1, MaskEdit1, MaskEdit2);
    GroupBox3 = new QGroupBox(QStringLiteral(" Ось температуры: "), this);
    GroupBox3->setGeometry(6, 330, 259, 88);
    axisGroup(GroupBox3, ComboBox2, MaskEdit3, MaskEdit4);

    // Design values, replaced by the settings when the main window is first shown.
    ComboBox1->setCurrentIndex(2);
    ComboBox2->setCurrentIndex(2);
    MaskEdit1->setText(QStringLiteral("+00,0"));
    MaskEdit2->setText(QStringLiteral("100,0"));
    MaskEdit3->setText(QStringLiteral("-50,0"));
    MaskEdit4->setText(QStringLiteral("100,0"));

    Button2 = new QPushButton(QStringLiteral("Записать графики в файл"), this);
    Button2->setGeometry(8, 432, 177, 23);
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setGeometry(190, 432, 75, 23);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}
