// A main window with all the program's windows over a temporary program directory, the
// virtual clock, scripted dialogs and a recording serial line.
#pragma once

#include "app/ui/fake_dialogs.h"
#include "app/ui/fake_serial_line.h"
#include "app/ui/gui_helpers.h"
#include "app/ui/main_form.h"
#include "app/ui/program.h"
#include "support/virtual_clock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class MainFormFixture : public ::testing::Test {
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
        windows->ShowMainForm();
        ASSERT_TRUE(gui::waitExposed(&form()));
    }
    TMainForm& form() const { return windows->MainForm(); }

    QString iniPath() const { return QDir(dir.path()).filePath(QStringLiteral("kelmora.ini")); }
    void writeIni(const QByteArray& bytes) const
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ini() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    VirtualClock clock;
    FakeDialogs dialogs;
    RecordingSerialLine* line = nullptr;
    std::unique_ptr<KelmoraWindows> windows;
};
