// The text and HTML forms of the report table: field widths, the no-data row, the style
// classes, the file format, and a file that cannot be created.
#include "logging/report_file_error.h"
#include "report/date_time.h"
#include "report/report_builder.h"
#include "views/table_export.h"
#include "views/xls_workbook.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <functional>

#include <sys/resource.h>

namespace {

double at(int h, int mi)
{
    return DayCountOf(QDate(2024, 3, 5), 0) + (h * 60 + mi) / 1440.0;
}

ReportTable build(std::vector<MeasurementRecord> records, int mode = kRelativeHumidity,
                  const QStringList& thresholds = {QStringLiteral("+00,0"), QStringLiteral("+99,9"),
                                                   QStringLiteral("-40,0"), QStringLiteral("+60,0")})
{
    ReportState s;
    s.ReportData = QList<MeasurementRecord>(records.begin(), records.end());
    s.ReportCount = s.ReportData.size();
    s.IntervalEnd = 1e6;
    ReportSettings settings;
    settings.displayMode = mode;
    settings.minHumidityText = thresholds[0];
    settings.maxHumidityText = thresholds[1];
    settings.minTemperatureText = thresholds[2];
    settings.maxTemperatureText = thresholds[3];
    settings.separators = DateTimeSeparators{QLatin1Char('.'), QLatin1Char(':')};
    return BuildReport(s, settings, false);
}

QStringList lines(const QString& text)
{
    QStringList l = text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(l.last(), QString()) << "every line ends in CR LF, the last one too";
    l.removeLast();
    return l;
}

TEST(AsciiForm, FieldsAreWidestTextPlusOneCentred)
{
    const ReportTable t = build({{at(10, 0), 4525, 2150}, {at(10, 1), 12000, -525}});
    const QStringList l = lines(AsciiReportText(t));
    ASSERT_EQ(l.size(), 3);
    EXPECT_EQ(l[0], QStringLiteral("  Дата   Время RH, % Т, °C "));
    EXPECT_EQ(l[1], QStringLiteral("05.03.24 10:00  45,3  21,5 "));
    EXPECT_EQ(l[2], QStringLiteral("05.03.24 10:01  ---   -5,3 "));
    for (const QString& line : l)
        EXPECT_EQ(line.size(), 27);
}

TEST(AsciiForm, HumidityColumnWidthFollowsTheHeader)
{
    const std::vector<MeasurementRecord> records = {{at(10, 0), 5000, 2000}};
    struct Case {
        int mode;
        const char* header;
        const char* value;
    };
    for (const Case c : {Case{kDewPoint, "Tт.р., °C ", "   9,3    "}, Case{kAbsoluteHumidity, "A, г/куб.м ", "    8,8    "}}) {
        const QStringList l = lines(AsciiReportText(build(records, c.mode)));
        ASSERT_EQ(l.size(), 2);
        EXPECT_EQ(l[0].mid(15, QString::fromUtf8(c.header).size()), QString::fromUtf8(c.header));
        EXPECT_EQ(l[1].mid(15, QString::fromUtf8(c.value).size()), QString::fromUtf8(c.value)) << c.mode;
        EXPECT_EQ(l[0].size(), l[1].size());
    }
}

TEST(AsciiForm, NoDataRow)
{
    const QStringList l = lines(AsciiReportText(build({})));
    EXPECT_EQ(l, (QStringList{QStringLiteral("Дата  Время RH, % Т, °C "), QStringLiteral(" Нет данных             ")}));
}

QStringList styleLines(const QString& html)
{
    QStringList out;
    for (const QString& line : html.split(QStringLiteral("\r\n")))
        if (line.startsWith(QStringLiteral(".c")))
            out << line;
    return out;
}

TEST(HtmlForm, UnmarkedTableHasTwoStyleLines)
{
    const ReportTable t = build({{at(10, 0), 4525, 2150}});
    const QString html = HtmlReportText(t, PlatformColors{});
    EXPECT_EQ(styleLines(html),
              (QStringList{QStringLiteral(".c0 {background-color: #F0F0F0;color: #000000;font-size:8pt;font-family: "
                                          "Tahoma, \"DejaVu Sans\", sans-serif;text-align: center;vertical-align: middle}"),
                           QStringLiteral(".c1 {background-color: #FFFFFF;color: #000000;font-size:8pt;font-family: "
                                          "Tahoma, \"DejaVu Sans\", sans-serif;text-align: center;vertical-align: middle}")}));
    EXPECT_TRUE(html.startsWith(QStringLiteral("<style>\r\n")));
    EXPECT_TRUE(html.contains(QStringLiteral("</style>\r\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\"  "
                                             "width=\"100%\">\r\n<tr>\r\n<td class=\"c0\" nowrap=\"nowrap\">Дата</td>\r\n")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</tr>\r\n</table>\r\n\r\n")));
    // Equal button-face and window colours: header and data share class 0.
    const QString same = HtmlReportText(t, PlatformColors{0xEEEEEE, 0xEEEEEE, 0x101010});
    EXPECT_EQ(styleLines(same).size(), 1);
    EXPECT_FALSE(same.contains(QStringLiteral("class=\"c1\"")));
}

TEST(HtmlForm, MarkedCellsGetTheirStylesInOrderOfFirstUse)
{
    const ReportTable t = build({{at(10, 0), 12000, 6100}, {at(10, 1), 2000, 2000}},
                                kRelativeHumidity,
                                {QStringLiteral("+30,0"), QStringLiteral("+60,0"), QStringLiteral("-4 , "), QStringLiteral("+60,0")});
    const QString html = HtmlReportText(t, PlatformColors{});
    const QStringList styles = styleLines(html);
    ASSERT_EQ(styles.size(), 5);
    EXPECT_EQ(styles[2], QStringLiteral(".c2 {background-color: #FF0000;color: #FFFF00;font-size:8pt;font-weight: bold;"
                                        "font-family: Tahoma, \"DejaVu Sans\", sans-serif;text-align: center;vertical-align: middle}"));
    EXPECT_EQ(styles[3], QStringLiteral(".c3 {background-color: #FFFF00;color: #FF0000;font-size:8pt;font-weight: bold;"
                                        "font-family: Tahoma, \"DejaVu Sans\", sans-serif;text-align: center;vertical-align: middle}"));
    EXPECT_EQ(styles[4], QStringLiteral(".c4 {background-color: #FFFF00;color: #0000FF;font-size:8pt;font-weight: bold;"
                                        "font-family: Tahoma, \"DejaVu Sans\", sans-serif;text-align: center;vertical-align: middle}"));
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"c2\" nowrap=\"nowrap\">---</td>\r\n"
                                             "<td class=\"c3\" nowrap=\"nowrap\">61,0</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"c4\" nowrap=\"nowrap\">20,0</td>")));
}

TEST(HtmlForm, NoDataCellsAreNonBreakingSpaces)
{
    const QString html = HtmlReportText(build({}), PlatformColors{});
    EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"c1\" nowrap=\"nowrap\">Нет</td>\r\n"
                                             "<td class=\"c1\" nowrap=\"nowrap\">данных</td>\r\n"
                                             "<td class=\"c1\" nowrap=\"nowrap\">&nbsp;</td>\r\n"
                                             "<td class=\"c1\" nowrap=\"nowrap\">&nbsp;</td>\r\n")));
}

TEST(ExportFiles, Utf16WithByteOrderMarkAndCreateErrors)
{
    QTemporaryDir dir;
    const ReportTable t = build({{at(10, 0), 4525, 2150}});
    const QString txt = QDir(dir.path()).filePath(QStringLiteral("r.txt"));
    SaveToASCII(txt, t);
    QFile f(txt);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
    EXPECT_EQ(bytes.mid(2), QByteArray(reinterpret_cast<const char*>(AsciiReportText(t).utf16()),
                                       AsciiReportText(t).size() * 2));
    // An existing file is replaced without a question.
    SaveToASCII(txt, build({}));
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().size(), 2 + 2 * AsciiReportText(build({})).size());

    try {
        SaveToHTML(dir.path(), t, PlatformColors{});  // a directory of that name
        FAIL() << "no error";
    } catch (const ReportFileError& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(dir.path()))) << e.what();
    }
}

TEST(ExportFiles, AFailedExportLeavesThePreviousOneAndNoTemporary)
{
    // The "disk" fills up after 4 KiB: the text, HTML and workbook exports of a large table
    // fail with the system's reason, and the earlier export of each name stays whole. The
    // window's save action and kelmora-cli report write through these same functions.
    QTemporaryDir dir;
    std::vector<MeasurementRecord> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back({at(0, 0) + i / 1440.0, static_cast<int16_t>(3000 + i), 2150});
    const ReportTable t = build(many);
    const QByteArray earlier("the earlier export");
    const QStringList names{QStringLiteral("r.txt"), QStringLiteral("r.htm"), QStringLiteral("r.xls")};
    for (const QString& name : names) {
        QFile f(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(earlier);
    }
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QStringList errors;
    const auto attempt = [&](const std::function<void()>& save) {
        try {
            save();
            errors << QStringLiteral("no error");
        } catch (const ReportFileError& e) {
            errors << e.text();
        }
    };
    attempt([&] { SaveToASCII(QDir(dir.path()).filePath(names[0]), t); });
    attempt([&] { SaveToHTML(QDir(dir.path()).filePath(names[1]), t, PlatformColors{}); });
    attempt([&] { SaveToXLS(QDir(dir.path()).filePath(names[2]), t); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(errors[i].startsWith(QStringLiteral("Cannot write file"))) << errors[i].toStdString();
        EXPECT_TRUE(errors[i].endsWith(QStringLiteral("File too large"))) << errors[i].toStdString();
        QFile f(QDir(dir.path()).filePath(names[i]));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), earlier) << names[i].toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << "no temporary left";
}

}  // namespace
