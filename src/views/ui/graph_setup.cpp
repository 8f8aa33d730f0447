// TMainForm: the graph setup action and the showing of the graph page.
#include "app/main_form.h"

#include "views/ui/select_form.h"
#include "views/ui/time_chart.h"

#include <QTabWidget>

void TMainForm::AcSetupGraphExecute()
{
    // However the dialog closes, both charts are drawn again.
    struct Redraw {
        TMainForm* form;
        ~Redraw()
        {
            form->Chart1->update();
            form->Chart2->update();
        }
    } redraw{this};
    execOwningItsBoxes(SelectForm);
}

void TMainForm::TabSheet3Show()
{
    SelectForm->ApplyGraphSettings();
}

void TMainForm::PrepareChartsForOutput()
{
    if (PageControl1->currentWidget() != TabSheet3)
        SelectForm->ApplyGraphSettings();
}
