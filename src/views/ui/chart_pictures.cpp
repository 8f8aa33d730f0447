// The picture export of the graph setup dialog ("Записать графики в файл"): each chart saved
// at its screen size as a Windows bitmap or a placeable metafile, the humidity chart under the
// extension ending in 1, the temperature chart under the one ending in 2.
#include "views/ui/select_form.h"

#include "app/ui/dialogs.h"
#include "app/ui/main_form.h"
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "views/ui/time_chart.h"
#include "views/ui/wmf_paint_device.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

namespace {

struct PictureType {
    const char* filter;
    const char* first;
    const char* second;
    bool metafile;
};

const PictureType kTypes[] = {
    {"Картинка (*.bmp)", ".bmp1", ".bmp2", false},
    {"Картинка (*.wmf)", ".wmf1", ".wmf2", true},
};

QFile& OpenForWriting(QFile& file)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ReportFileError::cannotCreate(QFileInfo(file.fileName()).absoluteFilePath(), file.errorString());
    return file;
}

// The chart drawn as on screen, at its screen size.
void SaveChartBitmap(TimeChart& chart, const QString& fileName)
{
    const QSize size = chart.size().expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        chart.render(painter, QRect(QPoint(0, 0), size), 0);
    }
    QFile file(fileName);
    QImageWriter writer(&OpenForWriting(file), "BMP");
    if (!writer.write(image))
        throw ReportFileError::cannotCreate(QFileInfo(fileName).absoluteFilePath(), writer.errorString());
}

void SaveChartMetafile(TimeChart& chart, const QString& fileName)
{
    const QSize size = chart.size().expandedTo(QSize(1, 1));
    WmfPaintDevice device(size.width(), size.height());
    {
        QPainter painter(&device);
        chart.render(painter, QRect(QPoint(0, 0), size), 0);
    }
    QFile file(fileName);
    const QByteArray bytes = device.bytes();
    if (OpenForWriting(file).write(bytes) != bytes.size())
        throw ReportFileError::cannotCreate(QFileInfo(fileName).absoluteFilePath(), file.errorString());
}

}  // namespace

void TSelectForm::Button2Click()
{
    SaveFileRequest request;
    request.title = QStringLiteral("Экспорт графика");
    request.directory = main_.programDirectory();
    request.fileName = QStringLiteral("chart.bmp");
    for (const PictureType& type : kTypes)
        request.filters << QString::fromUtf8(type.filter);
    request.filterIndex = 1;
    const std::optional<SaveFileChoice> choice = main_.dialogs().SaveFile(request);
    if (!choice)
        return;
    const PictureType& type = kTypes[std::clamp(choice->filterIndex, 1, int(std::size(kTypes))) - 1];
    // The typed extension is always replaced; the second name is made from the first.
    const QString first = ChangeFileExt(choice->fileName, QString::fromLatin1(type.first));
    const QString second = ChangeFileExt(first, QString::fromLatin1(type.second));
    main_.PrepareChartsForOutput();
    const auto save = type.metafile ? &SaveChartMetafile : &SaveChartBitmap;
    save(*main_.Chart1, first);
    save(*main_.Chart2, second);
}
