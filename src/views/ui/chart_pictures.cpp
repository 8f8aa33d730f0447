// The picture export of the graph setup dialog ("Записать графики в файл"): each chart saved
// at its screen size as a Windows bitmap or a placeable metafile, the humidity chart under the
// extension ending in 1, the temperature chart under the one ending in 2.
#include "views/ui/select_form.h"

#include "widgets/dialogs.h"
#include "app/main_form.h"
#include "views/ui/graph_charts.h"

#include <algorithm>

void TSelectForm::Button2Click()
{
    SaveFileRequest request;
    request.title = QStringLiteral("Экспорт графика");
    request.directory = main_.programDirectory();
    request.fileName = QStringLiteral("chart.bmp");
    request.filters << QStringLiteral("Картинка (*.bmp)") << QStringLiteral("Картинка (*.wmf)");
    request.filterIndex = 1;
    const std::optional<SaveFileChoice> choice = main_.dialogs().SaveFile(request);
    if (!choice)
        return;
    const bool metafile = std::clamp(choice->filterIndex, 1, 2) == 2;
    main_.PrepareChartsForOutput();
    SaveChartPictures(*main_.Chart1, *main_.Chart2, choice->fileName, metafile);
}
