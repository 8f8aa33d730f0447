#include "report/report_builder.h"

#include "report/number_format.h"

#include <bit>
#include <exception>

namespace {
const QString kBuildText = QStringLiteral("Подождите, идет создание отчета...");

HumidityMemo::Conversion conversionOf(int mode)
{
    if (mode == kDewPoint)
        return &DewPoint;
    if (mode == kAbsoluteHumidity)
        return &AbsoluteHumidity;
    return nullptr;
}

double unusedConversion(double RH, double)
{
    return RH;
}

bool validRH(int16_t rh)
{
    return rh >= 0 && rh <= 9999;
}

bool validT(int16_t t)
{
    return t >= -9999 && t <= 9999;
}
}  // namespace

Thresholds ThresholdsFromMaskTexts(const QString& minHumidity, const QString& maxHumidity,
                                   const QString& minTemperature, const QString& maxTemperature)
{
    return {ParseDecimal(BlanksToZeros(minHumidity)), ParseDecimal(BlanksToZeros(maxHumidity)),
            ParseDecimal(BlanksToZeros(minTemperature)), ParseDecimal(BlanksToZeros(maxTemperature))};
}

ReportBuilder::ReportBuilder(const ReportState& state, const ReportSettings& settings)
    : records_(state.ReportData),
      count_(std::min(state.ReportCount, state.ReportData.size())),
      startMinute_(TryTruncToMinute(state.IntervalStart)),
      endMinute_(TryTruncToMinute(state.IntervalEnd)),
      colorChart_(settings.colorChart),
      mode_(settings.displayMode == kDewPoint || settings.displayMode == kAbsoluteHumidity ? settings.displayMode
                                                                                           : kRelativeHumidity),
      ownMemo_(conversionOf(mode_) ? conversionOf(mode_) : &unusedConversion),
      memo_(&ownMemo_)
{
    if (settings.cache && mode_ != kRelativeHumidity) {
        memo_ = mode_ == kDewPoint ? &settings.cache->dewPoint : &settings.cache->absoluteHumidity;
        // Bounded: a cache that has seen millions of pairs starts afresh.
        if (memo_->distinctPairs() > (std::size_t(1) << 22))
            memo_->clear();
    }
    table_.displayMode_ = mode_;
    table_.thresholds_ = ThresholdsFromMaskTexts(settings.minHumidityText, settings.maxHumidityText,
                                                 settings.minTemperatureText, settings.maxTemperatureText);
    const DateTimeSeparators separators = settings.separators ? *settings.separators : SystemDateTimeSeparators();
    table_.dateSeparator_ = separators.date;
    table_.timeSeparator_ = separators.time;
    table_.title_ = QStringLiteral("Термогигрометр №") + state.DeviceNumberText + QStringLiteral(" - ") + state.ReportComment;
    table_.noData_ = count_ == 0;
    table_.rows_.reserve(static_cast<std::size_t>(count_));
}

double ReportBuilder::convertHumidity(int16_t rh, int16_t t)
{
    if (mode_ == kRelativeHumidity)
        return rh / 100.0;
    if (mode_ == kAbsoluteHumidity)
        return (*memo_)(rh, t);  // costs about what a lookup does
    const uint32_t key = HumidityMemo::keyOf(rh, t);
    if (const double* known = memo_->find(key))
        return *known;
    return deferred_.standIn(key);
}

uint32_t ReportBuilder::DeferredPairs::add(uint32_t key)
{
    if (4 * (keys_.size() + 1) > slotKeys_.size())
        grow();
    std::size_t i = slotOf(key);
    while (slotKeys_[i] != HumidityMemo::kEmpty)
        i = (i + 1) & mask_;
    const uint32_t place = uint32_t(keys_.size());
    slotKeys_[i] = key;
    slotPlaces_[i] = place;
    keys_.push_back(key);
    return place;
}

void ReportBuilder::DeferredPairs::grow()
{
    const std::size_t size = slotKeys_.empty() ? 16384 : slotKeys_.size() * 2;
    slotKeys_.assign(size, HumidityMemo::kEmpty);
    slotPlaces_.assign(size, 0);
    mask_ = size - 1;
    shift_ = 32 - std::countr_zero(size);
    for (uint32_t place = 0; place < keys_.size(); ++place) {
        std::size_t i = slotOf(keys_[place]);
        while (slotKeys_[i] != HumidityMemo::kEmpty)
            i = (i + 1) & mask_;
        slotKeys_[i] = keys_[place];
        slotPlaces_[i] = place;
    }
}

void ReportBuilder::putInDeferredDewPoints()
{
    if (deferred_.keys().empty())
        return;
    const std::vector<double> values = memo_->convertMany(deferred_.keys());
    // Every deferred pair came from a record that counts for the statistics.
    ReportStatistics& s = table_.statistics_;
    for (double value : values) {
        if (value < s.humidityMin)
            s.humidityMin = value;
        if (value > s.humidityMax)
            s.humidityMax = value;
    }
    const Thresholds& th = table_.thresholds_;
    for (ReportRow& row : table_.rows_) {
        if (!DeferredPairs::isStandIn(row.humidity))
            continue;
        row.humidity = values[DeferredPairs::placeOf(row.humidity)];
        row.colours = uint8_t((row.colours & ~3u) | pointColour(row.humidity, th.humidityLow, th.humidityHigh));
    }
}

std::optional<uint8_t> ReportBuilder::ConvertRecord(qsizetype i)
{
    const MeasurementRecord& record = records_.constData()[i];
    const std::optional<double> minute = TryTruncToMinute(record.dt);
    if (!minute)
        return std::nullopt;
    RecordMinute = *minute;
    uint8_t flags = 0;
    int16_t rh = record.RH;
    int16_t t = record.T;
    if (validRH(rh))
        LastValidRH = rh;
    else {
        rh = LastValidRH;
        flags |= kHumidityInvalid;
    }
    if (validT(t))
        LastValidT = t;
    else {
        t = LastValidT;
        flags |= kTemperatureInvalid;
    }
    humidity = convertHumidity(rh, t);
    temperature = t;
    const double tValue = t / 100.0;
    ReportStatistics& s = table_.statistics_;
    if (tValue < s.temperatureMin)
        s.temperatureMin = tValue;
    if (tValue > s.temperatureMax)
        s.temperatureMax = tValue;
    if (humidity < s.humidityMin)
        s.humidityMin = humidity;
    if (humidity > s.humidityMax)
        s.humidityMax = humidity;
    return flags;
}

uint8_t ReportBuilder::pointColour(double value, double low, double high) const
{
    if (!colorChart_)
        return kPointSeries;
    if (value < low)
        return kPointBelow;
    if (value > high)
        return kPointAbove;
    return kPointInside;
}

void ReportBuilder::AddReportRow(qsizetype i)
{
    const std::optional<uint8_t> flags = ConvertRecord(i);
    if (!flags)
        return;
    if (!startMinute_ || !endMinute_ || *startMinute_ > RecordMinute || *endMinute_ < RecordMinute)
        return;
    const Thresholds& th = table_.thresholds_;
    const uint8_t colours = uint8_t(pointColour(humidity, th.humidityLow, th.humidityHigh)
                                    | (pointColour(temperature / 100.0, th.temperatureLow, th.temperatureHigh) << 2));
    table_.rows_.push_back(ReportRow{RecordMinute, humidity, temperature, *flags, colours});
}

ReportTable ReportBuilder::finish()
{
    putInDeferredDewPoints();
    std::vector<ReportRow>& rows = table_.rows_;
    if (rows.capacity() > rows.size() + rows.size() / 8 + 64)
        rows.shrink_to_fit();
    return std::move(table_);
}

ReportTable BuildReport(const ReportState& state, const ReportSettings& settings, bool FromReading, WaitProgress* progress)
{
    ReportBuilder builder(state, settings);
    const qsizetype count = builder.recordCount();
    if (count != 0) {
        if (progress) {
            progress->setText(kBuildText);
            progress->setMaximum(100);
            progress->setPosition(0);
            // Show lets the pending messages run; a reading lets them run without the window.
            if (!FromReading)
                progress->showWindow();
            else
                progress->processMessages();
        }
        try {
            if (progress) {
                int shown = 0;
                for (qsizetype i = 0; i < count; ++i) {
                    builder.AddReportRow(i);
                    const int position = ProgressPercent(i, count);
                    if (position != shown) {
                        shown = position;
                        progress->setPosition(position);
                    }
                    if (!FromReading)
                        progress->processMessages();
                }
            } else {
                for (qsizetype i = 0; i < count; ++i)
                    builder.AddReportRow(i);
            }
        } catch (const std::exception&) {
            // A failing record ends the loop without a message; the rows so far remain.
        }
        if (progress) {
            if (!FromReading)
                progress->hideWindow();
            progress->processMessages();
        }
    }
    return builder.finish();
}
