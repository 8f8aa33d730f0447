#include "app/ui/repsel_form.h"

#include "app/ui/design_font.h"

TRepselForm::TRepselForm(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("RepselForm"));
    setWindowTitle(QStringLiteral("Выбор параметров отчета"));
    setFixedSize(352, 334);
    setFont(DesignFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}
