// A main window with all the program's windows over a temporary program directory, the
// virtual clock, scripted dialogs and a recording serial line.
#pragma once

#include "support/fake_dialogs.h"
#include "support/fake_serial_line.h"
#include "support/gui_helpers.h"
#include "app/main_window.h"
#include "device/ui/connection_panel.h"
#include "logging/ui/reading_panel.h"
#include "report/report_document.h"
#include "views/ui/report_output.h"
#include "views/ui/text_report_page.h"
#include "widgets/bevel_panel.h"
#include "widgets/mask_edit.h"
#include "widgets/radio_group.h"
#include "widgets/on_off_switch.h"
#include "app/program.h"
#include "support/file_bytes.h"
#include "support/virtual_clock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class MainWindowFixture : public ::testing::Test {
protected:
    void start(const QDateTime& now = QDateTime(QDate(2026, 3, 14), QTime(10, 0)))
    {
        clock.set(now);
        auto port = std::make_unique<RecordingSerialLine>();
        line = port.get();
        windows = std::make_unique<KelmoraWindows>(clock, dialogs, dir.path(), std::move(port));
    }
    // Start-up and first showing; the show handler loads the settings.
    void startAndShow(const QDateTime& now = QDateTime(QDate(2026, 3, 14), QTime(10, 0)))
    {
        start(now);
        windows->showMainWindow();
        ASSERT_TRUE(gui::waitExposed(&form()));
    }
    MainWindow& form() const { return windows->mainWindow(); }
    // Puts records into the window's report as a loaded report: every minute of the interval,
    // no comment. The report is not built.
    void setReport(const std::vector<MeasurementRecord>& records, const QString& device = QStringLiteral("00A3"),
                   double intervalEnd = 1e6)
    {
        ReportState& r = form().document().state();
        r.ReportData = QList<MeasurementRecord>(records.begin(), records.end());
        r.ReportCount = r.ReportData.size();
        r.IntervalStart = 0;
        r.IntervalEnd = intervalEnd;
        r.DeviceNumberText = device;
        r.ReportComment.clear();
    }

    QString iniPath() const { return QDir(dir.path()).filePath(QStringLiteral("kelmora.ini")); }
    void writeIni(const QByteArray& bytes) const { WriteFileBytes(iniPath(), bytes); }
    QByteArray ini() const { return FileBytes(iniPath()); }

    QTemporaryDir dir;
    VirtualClock clock;
    FakeDialogs dialogs;
    RecordingSerialLine* line = nullptr;
    std::unique_ptr<KelmoraWindows> windows;
};
