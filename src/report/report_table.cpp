#include "report/report_table.h"

#include "report/date_time.h"
#include "report/number_format.h"

Rgb PointColourRgb(uint8_t code)
{
    switch (code) {
    case kPointBelow:
        return kBlue;
    case kPointAbove:
        return kRed;
    case kPointInside:
        return kGreen;
    default:
        return kBlack;
    }
}

ReportTable::ReportTable() = default;

QString ReportTable::headerText(int column, int displayMode)
{
    switch (column) {
    case 0:
        return QStringLiteral("Дата");
    case 1:
        return QStringLiteral("Время");
    case 2:
        switch (displayMode) {
        case kDewPoint:
            return QStringLiteral("Tт.р., °C");
        case kAbsoluteHumidity:
            return QStringLiteral("A, г/куб.м");
        default:
            return QStringLiteral("RH, %");
        }
    case 3:
        return QStringLiteral("Т, °C");
    default:
        return {};
    }
}

QString ReportTable::cellText(qsizetype row, int column) const
{
    if (column < 0 || column >= kColumnCount || row < 0 || row >= rowCount())
        return {};
    if (row == 0)
        return headerText(column, displayMode_);
    if (noData_) {
        static const QString texts[kColumnCount] = {QStringLiteral("Нет"), QStringLiteral("данных"),
                                                    QStringLiteral(" "), QStringLiteral(" ")};
        return texts[column];
    }
    const ReportRow& r = rows_[static_cast<std::size_t>(row - 1)];
    static const QString invalid = QStringLiteral("---");
    switch (column) {
    case 0:
        return DateText(r.minute, dateSeparator_);
    case 1:
        return TimeText(r.minute, timeSeparator_);
    case 2:
        return (r.flags & kHumidityInvalid) ? invalid : TableValueText(r.humidity);
    default:
        return (r.flags & kTemperatureInvalid) ? invalid : TableValueText(r.temperatureValue());
    }
}

QString ReportTable::humidityMinText() const
{
    return GeneralNumberText(statistics_.humidityMin);
}

QString ReportTable::humidityMaxText() const
{
    return GeneralNumberText(statistics_.humidityMax);
}

QString ReportTable::temperatureMinText() const
{
    return GeneralNumberText(statistics_.temperatureMin);
}

QString ReportTable::temperatureMaxText() const
{
    return GeneralNumberText(statistics_.temperatureMax);
}

std::size_t ReportTable::memoryBytes() const
{
    return sizeof(*this) + rows_.capacity() * sizeof(ReportRow) + std::size_t(title_.capacity()) * sizeof(QChar);
}
