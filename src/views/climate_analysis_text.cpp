#include "views/climate_analysis_text.h"

#include "report/date_time.h"
#include "report/number_format.h"
#include "views/csv_export.h"

#include <QStringList>

#include <cmath>

namespace {

// A number with a fixed count of decimals, rounded halves away from zero, with the given
// decimal point; a result of zero never carries a minus sign. Empty for NaN and infinities.
QByteArray fixedText(double value, int decimals, char point)
{
    if (!std::isfinite(value))
        return {};
    double scale = 1;
    for (int d = 0; d < decimals; ++d)
        scale *= 10;
    long long units = std::llround(value * scale);
    QByteArray out;
    if (units < 0) {
        out += '-';
        units = -units;
    }
    const long long whole = units / (long long)scale;
    out += QByteArray::number(whole);
    if (decimals > 0) {
        out += point;
        const QByteArray fraction = QByteArray::number(units % (long long)scale);
        out += QByteArray(decimals - fraction.size(), '0') + fraction;
    }
    return out;
}

// ---- JSON ----

// "2026-03-01T10:00:00.000+03:00", as the readings' CSV writes a time (invalid values leave
// its other fields empty).
QByteArray isoTime(double dayCount)
{
    const std::optional<RecordFieldTexts> fields = RecordFields(MeasurementRecord{dayCount, int16_t(-1), int16_t(-10000)});
    return fields ? fields->time : QByteArray();
}

QByteArray isoDate(const QDate& date)
{
    return date.toString(Qt::ISODate).toLatin1();
}

// Pretty-printed JSON written in order, two blanks per level.
class JsonWriter {
public:
    QByteArray take()
    {
        out_ += '\n';
        return std::move(out_);
    }

    void beginObject(const char* key = nullptr) { open(key, '{'); }
    void endObject() { close('}'); }
    void beginArray(const char* key = nullptr) { open(key, '['); }
    void endArray() { close(']'); }

    void null(const char* key) { member(key) += "null"; }
    void number(const char* key, double value, int decimals)
    {
        const QByteArray text = fixedText(value, decimals, '.');
        member(key) += text.isEmpty() ? QByteArrayLiteral("null") : text;
    }
    void number(const char* key, const std::optional<double>& value, int decimals)
    {
        if (value)
            number(key, *value, decimals);
        else
            null(key);
    }
    void integer(const char* key, qint64 value) { member(key) += QByteArray::number(value); }
    // Texts of the program's own (times, names): nothing in them needs escaping.
    void text(const char* key, const QByteArray& value)
    {
        if (value.isEmpty())
            null(key);
        else
            member(key) += '"' + value + '"';
    }

private:
    QByteArray& member(const char* key)
    {
        if (!first_)
            out_ += ',';
        first_ = false;
        if (depth_ > 0) {
            out_ += '\n';
            out_ += QByteArray(2 * depth_, ' ');
        }
        if (key) {
            out_ += '"';
            out_ += key;
            out_ += "\": ";
        }
        return out_;
    }
    void open(const char* key, char bracket)
    {
        member(key) += bracket;
        ++depth_;
        first_ = true;
    }
    void close(char bracket)
    {
        --depth_;
        if (!first_) {
            out_ += '\n';
            out_ += QByteArray(2 * depth_, ' ');
        }
        out_ += bracket;
        first_ = false;
    }

    QByteArray out_;
    int depth_ = 0;
    bool first_ = true;
};

void writeStretch(JsonWriter& json, const char* key, const ClimateStretch& stretch)
{
    json.beginObject(key);
    json.text("start", isoTime(stretch.start));
    json.text("end", isoTime(stretch.end));
    json.number("minutes", stretch.minutes, 1);
    json.endObject();
}

void writeChannel(JsonWriter& json, const char* key, const std::optional<ChannelSummary>& channel)
{
    if (!channel) {
        json.null(key);
        return;
    }
    json.beginObject(key);
    json.number("min", channel->min, 2);
    json.text("min_time", isoTime(channel->minTime));
    json.number("max", channel->max, 2);
    json.text("max_time", isoTime(channel->maxTime));
    json.number("mean", channel->mean, 2);
    json.endObject();
}

const char* channelKey(ClimateChannel channel)
{
    return channel == ClimateChannel::RelativeHumidity ? "relative_humidity" : "temperature";
}

// A figure of a day's channel, or nothing when the day has no valid value of it.
template <typename Figure>
std::optional<double> dayFigure(const std::optional<DayRange>& range, Figure figure)
{
    if (!range)
        return std::nullopt;
    return figure(*range);
}

}  // namespace

QByteArray ClimateAnalysisJson(const ClimateAnalysis& a)
{
    JsonWriter json;
    json.beginObject();
    json.beginObject("interval");
    json.text("from", isoTime(a.from));
    json.text("to", isoTime(a.to));
    json.endObject();
    json.integer("readings", a.readings);
    json.number("no_data_minutes", a.noDataMinutes, 1);
    json.beginArray("gaps");
    for (const ClimateStretch& gap : a.gaps)
        writeStretch(json, nullptr, gap);
    json.endArray();
    writeChannel(json, "relative_humidity", a.relativeHumidity);
    writeChannel(json, "temperature", a.temperature);
    writeChannel(json, "dew_point", a.dewPoint);
    writeChannel(json, "absolute_humidity", a.absoluteHumidity);
    json.beginArray("limits");
    for (const LimitExcursions& limit : a.limits) {
        json.beginObject();
        json.text("channel", channelKey(limit.channel));
        json.text("side", limit.side == LimitSide::Below ? "below" : "above");
        json.number("threshold", limit.threshold, 2);
        json.number("minutes", limit.minutes, 1);
        json.number("share", limit.share, 4);
        json.integer("excursions", limit.excursions);
        if (limit.longest)
            writeStretch(json, "longest", *limit.longest);
        else
            json.null("longest");
        json.endObject();
    }
    json.endArray();
    json.number("mean_kinetic_temperature", a.meanKineticTemperature, 2);
    if (a.woodMoisture) {
        json.beginObject("wood_emc");
        json.number("mean", a.woodMoisture->mean, 2);
        json.number("min", a.woodMoisture->min, 2);
        json.number("max", a.woodMoisture->max, 2);
        json.number("minutes_below_5", a.woodMoisture->minutesBelow5, 1);
        json.number("minutes_above_12_5", a.woodMoisture->minutesAbove12_5, 1);
        json.endObject();
    } else {
        json.null("wood_emc");
    }
    json.number("lifetime_multiplier", a.lifetimeMultiplier, 3);
    if (a.mould) {
        json.beginObject("mould");
        json.number("hours_at_or_above_critical", a.mould->hoursAtOrAboveCritical, 2);
        json.number("longest_hours", a.mould->longestHours, 2);
        json.endObject();
    } else {
        json.null("mould");
    }
    json.beginArray("days");
    for (const ClimateDay& day : a.days) {
        json.beginObject();
        json.text("date", isoDate(day.date));
        json.number("rh_min", dayFigure(day.relativeHumidity, [](const DayRange& r) { return r.min; }), 2);
        json.number("rh_mean", dayFigure(day.relativeHumidity, [](const DayRange& r) { return r.mean; }), 2);
        json.number("rh_max", dayFigure(day.relativeHumidity, [](const DayRange& r) { return r.max; }), 2);
        json.number("t_min", dayFigure(day.temperature, [](const DayRange& r) { return r.min; }), 2);
        json.number("t_mean", dayFigure(day.temperature, [](const DayRange& r) { return r.mean; }), 2);
        json.number("t_max", dayFigure(day.temperature, [](const DayRange& r) { return r.max; }), 2);
        json.number("rh_range", dayFigure(day.relativeHumidity, [](const DayRange& r) { return r.max - r.min; }), 2);
        json.endObject();
    }
    json.endArray();
    json.beginObject("largest_change_24h");
    for (const auto& [key, change] : {std::pair{"relative_humidity", &a.humidityChange24h}, std::pair{"temperature", &a.temperatureChange24h}}) {
        if (!*change) {
            json.null(key);
            continue;
        }
        json.beginObject(key);
        json.number("change", (*change)->change, 2);
        json.text("low_time", isoTime((*change)->lowTime));
        json.text("high_time", isoTime((*change)->highTime));
        json.endObject();
    }
    json.endObject();
    json.endObject();
    return json.take();
}

QByteArray ClimateAnalysisCsv(const ClimateAnalysis& a)
{
    QByteArray out(kClimateDaysCsvHeader);
    for (const ClimateDay& day : a.days) {
        out += isoDate(day.date);
        for (const std::optional<DayRange>* range : {&day.relativeHumidity, &day.temperature}) {
            for (double DayRange::*figure : {&DayRange::min, &DayRange::mean, &DayRange::max}) {
                out += ',';
                if (*range)
                    out += fixedText((**range).*figure, 2, '.');
            }
        }
        out += ',';
        if (day.relativeHumidity)
            out += fixedText(day.relativeHumidity->max - day.relativeHumidity->min, 2, '.');
        out += "\r\n";
    }
    return out;
}

// ---- The Russian page ----

namespace {

const QString kNoData = QStringLiteral("нет данных");
const QString kDash = QStringLiteral("—");

// A number with the decimal comma; a dash for a figure that cannot be had.
QString number(double value, int decimals)
{
    const QByteArray text = fixedText(value, decimals, ',');
    return text.isEmpty() ? kDash : QString::fromLatin1(text);
}

QString number(const std::optional<double>& value, int decimals)
{
    return value ? number(*value, decimals) : kDash;
}

// dd.MM.yyyy hh:mm (seconds dropped, as the report's minutes).
QString timeText(double dayCount)
{
    const std::optional<DayTime> when = SplitDayCount(dayCount);
    if (!when)
        return kDash;
    const QDate date = QDate::fromJulianDay(when->day + kJulianDayOfDayZero);
    const int minute = when->msOfDay / 60000;
    return QStringLiteral("%1 %2:%3")
        .arg(date.toString(QStringLiteral("dd.MM.yyyy")))
        .arg(minute / 60, 2, 10, QLatin1Char('0'))
        .arg(minute % 60, 2, 10, QLatin1Char('0'));
}

QString stretchText(const ClimateStretch& stretch)
{
    return QStringLiteral("%1 — %2 (%3 мин)").arg(timeText(stretch.start), timeText(stretch.end), number(stretch.minutes, 1));
}

// Rows of cells in aligned columns: the first column (and the last when lastToTheLeft) to the
// left, the others to the right, two blanks between columns, no trailing blanks.
QString tableText(const QList<QStringList>& rows, bool lastToTheLeft = false)
{
    QList<qsizetype> widths;
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths.append(0);
            widths[c] = std::max(widths[c], row[c].size());
        }
    QString out;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                line += QStringLiteral("  ");
            const bool left = c == 0 || (lastToTheLeft && c == widths.size() - 1);
            line += left ? row[c].leftJustified(widths[c]) : row[c].rightJustified(widths[c]);
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out += line + QLatin1Char('\n');
    }
    return out;
}

QStringList channelRow(const QString& label, const std::optional<ChannelSummary>& channel, int decimals)
{
    if (!channel)
        return {label, QStringLiteral("0"), kNoData};
    return {label,
            QString::number(channel->readings),
            number(channel->min, decimals),
            timeText(channel->minTime),
            number(channel->max, decimals),
            timeText(channel->maxTime),
            number(channel->mean, decimals)};
}

QString limitLabel(const LimitExcursions& limit)
{
    if (limit.channel == ClimateChannel::RelativeHumidity)
        return limit.side == LimitSide::Below ? QStringLiteral("Влажность ниже минимума, %") : QStringLiteral("Влажность выше максимума, %");
    return limit.side == LimitSide::Below ? QStringLiteral("Температура ниже минимума, °C") : QStringLiteral("Температура выше максимума, °C");
}

QString changeText(const QString& label, const std::optional<LargestChange>& change, const QString& unit)
{
    if (!change)
        return QStringLiteral("  %1: %2\n").arg(label, kNoData);
    return QStringLiteral("  %1: %2 %3 (минимум %4, максимум %5)\n")
        .arg(label, number(change->change, 2), unit, timeText(change->lowTime), timeText(change->highTime));
}

}  // namespace

QString ClimateAnalysisText(const ClimateAnalysis& a)
{
    QString out;
    out += QStringLiteral("Анализ климата\n\n");
    out += QStringLiteral("Интервал: %1 — %2\n").arg(timeText(a.from), timeText(a.to));
    out += QStringLiteral("Показаний: %1\n").arg(a.readings);
    out += QStringLiteral("Медианный шаг показаний: %1 мин; пропуск данных — шаг длиннее %2 мин\n")
               .arg(number(a.medianSpacingMinutes, 1), number(a.gapLimitMinutes, 1));
    out += QStringLiteral("Нет данных: %1 мин из %2 мин\n").arg(number(a.noDataMinutes, 1), number(a.intervalMinutes, 1));
    if (a.gaps.empty()) {
        out += QStringLiteral("Пропусков данных нет\n");
    } else {
        out += QStringLiteral("Пропуски данных:\n");
        for (const ClimateStretch& gap : a.gaps)
            out += QStringLiteral("  ") + stretchText(gap) + QLatin1Char('\n');
    }

    out += QLatin1Char('\n');
    out += tableText({
        {QStringLiteral("Величина"), QStringLiteral("Показаний"), QStringLiteral("Минимум"), QStringLiteral("Время минимума"),
         QStringLiteral("Максимум"), QStringLiteral("Время максимума"), QStringLiteral("Среднее")},
        channelRow(QStringLiteral("Относительная влажность, %"), a.relativeHumidity, 2),
        channelRow(QStringLiteral("Температура, °C"), a.temperature, 2),
        channelRow(QStringLiteral("Точка росы, °C"), a.dewPoint, 2),
        channelRow(QStringLiteral("Абсолютная влажность, г/м³"), a.absoluteHumidity, 2),
    });
    out += QStringLiteral("Средние взвешены по времени, которое представляет каждое показание.\n");

    out += QStringLiteral("\nВремя за пределами\n");
    QList<QStringList> limitRows = {{QStringLiteral("Граница"), QStringLiteral("Значение"), QStringLiteral("Минут"),
                                     QStringLiteral("Доля, %"), QStringLiteral("Выходов"), QStringLiteral("Самый долгий выход")}};
    for (const LimitExcursions& limit : a.limits)
        limitRows.append({limitLabel(limit), number(limit.threshold, 1), number(limit.minutes, 1), number(limit.share * 100, 2),
                          QString::number(limit.excursions), limit.longest ? stretchText(*limit.longest) : kDash});
    out += tableText(limitRows, true);

    out += QStringLiteral("\nНаибольшее изменение за 24 часа:\n");
    out += changeText(QStringLiteral("относительной влажности"), a.humidityChange24h, QStringLiteral("%"));
    out += changeText(QStringLiteral("температуры"), a.temperatureChange24h, QStringLiteral("°C"));

    out += QStringLiteral("\nСредняя кинетическая температура: %1 °C (энергия активации %2 кДж/моль)\n")
               .arg(number(a.meanKineticTemperature, 2), GeneralNumberText(a.options.mktActivationKjPerMol));
    if (a.woodMoisture) {
        const WoodMoisture& w = *a.woodMoisture;
        out += QStringLiteral("Равновесная влажность древесины: средняя %1 %, минимум %2 %, максимум %3 %; ниже 5 %: %4 мин, "
                              "выше 12,5 %: %5 мин\n")
                   .arg(number(w.mean, 2), number(w.min, 2), number(w.max, 2), number(w.minutesBelow5, 1), number(w.minutesAbove12_5, 1));
    } else {
        out += QStringLiteral("Равновесная влажность древесины: %1\n").arg(kNoData);
    }
    out += QStringLiteral("Коэффициент срока службы: %1 (относительно 20 °C и 50 %, энергия активации %2 кДж/моль)\n")
               .arg(number(a.lifetimeMultiplier, 3), GeneralNumberText(a.options.lifetimeActivationKjPerMol));
    if (a.mould)
        out += QStringLiteral("Плесень: %1 ч при критической для роста влажности и выше; самый долгий период %2 ч\n")
                   .arg(number(a.mould->hoursAtOrAboveCritical, 2), number(a.mould->longestHours, 2));
    else
        out += QStringLiteral("Плесень: %1\n").arg(kNoData);

    out += QStringLiteral("\nПо дням\n");
    QList<QStringList> dayRows = {{QStringLiteral("Дата"), QStringLiteral("Влажн. мин, %"), QStringLiteral("Влажн. средн., %"),
                                   QStringLiteral("Влажн. макс, %"), QStringLiteral("Размах влажн., %"), QStringLiteral("Темп. мин, °C"),
                                   QStringLiteral("Темп. средн., °C"), QStringLiteral("Темп. макс, °C")}};
    for (const ClimateDay& day : a.days) {
        const std::optional<DayRange>& h = day.relativeHumidity;
        const std::optional<DayRange>& t = day.temperature;
        dayRows.append({day.date.toString(QStringLiteral("dd.MM.yyyy")),
                        h ? number(h->min, 2) : kDash,
                        h ? number(h->mean, 2) : kDash,
                        h ? number(h->max, 2) : kDash,
                        h ? number(h->max - h->min, 2) : kDash,
                        t ? number(t->min, 2) : kDash,
                        t ? number(t->mean, 2) : kDash,
                        t ? number(t->max, 2) : kDash});
    }
    if (a.days.empty())
        out += kNoData + QLatin1Char('\n');
    else
        out += tableText(dayRows);
    return out;
}
