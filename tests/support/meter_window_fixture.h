// The program's windows over a temporary program directory, with virtual time, scripted
// dialogs and a line of several ports with meters behind them (window tests only).
#pragma once

#include "support/fake_dialogs.h"
#include "support/gui_helpers.h"
#include "app/main_window.h"
#include "device/meter_session.h"
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
#include "support/ports_line.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>
#include <QTableView>
#include <QTimer>

#include <memory>

class MeterWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto port = std::make_unique<PortsLine>(&clock);
        line = port.get();
        windows = std::make_unique<KelmoraWindows>(clock, dialogs, dir.path(), std::move(port));
        windows->showMainWindow();
        ASSERT_TRUE(gui::waitExposed(&form()));
    }
    MainWindow& form() const { return windows->mainWindow(); }
    // Lets events run until the meter session is idle: no reading under way (stored, said or
    // decided about), no connection check, no work on the session's thread.
    bool meterIdle() const
    {
        return !form().readingInProgress() && !form().connectionPanel().checking()
               && !form().connectionPanel().session().busy();
    }
    void settle() const { ASSERT_TRUE(gui::waitUntil([this] { return meterIdle(); })); }
    void addMeter(const QString& name, MeterConfig config = {}) { line->meters.emplace(name, MeterModel(config)); }
    int enabledReportActions() const
    {
        int n = 0;
        for (QAction* a : form().reportActions())
            n += a->isEnabled();
        return n;
    }

    QTemporaryDir dir;
    VirtualClock clock;
    FakeDialogs dialogs;
    PortsLine* line = nullptr;
    std::unique_ptr<KelmoraWindows> windows;
};

