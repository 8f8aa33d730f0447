// Who owns a box or file dialog: while a modal dialog runs, what it leads to belongs to it and
// stacks above it (the graph setup and the report selection dialogs stay on top of the other
// windows, so a box owned by the main window would open behind them).
#include "widgets/dialogs.h"
#include "support/main_window_fixture.h"
#include "widgets/mask_edit.h"
#include "widgets/standard_error.h"
#include "report/ui/report_selection_dialog.h"
#include "views/graph_settings.h"
#include "views/ui/graph_setup_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <functional>

namespace {

// Runs open(), which shows a modal box or file dialog; the box is closed as soon as it is up.
// Returns the box's owner (its parent window), or nullptr when no box came up.
QWidget* ownerOfTheBoxOpenedBy(const std::function<void()>& open, QWidget* besides)
{
    QWidget* owner = nullptr;
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box || box == besides)
            return;
        seen = true;
        owner = box->parentWidget();
        // Under a real window manager (KELMORA_SHOT_DIR set), a picture of the screen shows
        // the stacking: the box above its stay-on-top owner.
        if (const QString folder = qEnvironmentVariable("KELMORA_SHOT_DIR"); !folder.isEmpty()) {
            poll.stop();
            gui::waitExposed(box);
            QElapsedTimer settle;
            settle.start();
            while (settle.elapsed() < 300)
                QApplication::processEvents(QEventLoop::AllEvents, 20);
            static int shot = 0;
            if (QScreen* screen = QGuiApplication::primaryScreen())
                screen->grabWindow(0).save(QDir(folder).filePath(QStringLiteral("stacking_%1.png").arg(++shot)));
        }
        box->reject();
        poll.stop();
    });
    poll.start();
    open();
    poll.stop();
    return seen ? owner : nullptr;
}

TEST(DesktopDialogOwners, BoxesBelongToTheScopedDialogElseToTheModalOneElseToTheMainWindow)
{
    QWidget main;
    main.resize(400, 300);
    main.show();
    QDialog setup(&main, Qt::Dialog | Qt::WindowStaysOnTopHint);
    setup.resize(200, 200);
    DesktopDialogs dialogs(&main);

    const std::function<void()> boxes[] = {
        [&] { dialogs.message(QStringLiteral("Отчет удален !")); },
        [&] { dialogs.warning(QStringLiteral("Удалить отчет hall.dat ?")); },
        [&] { dialogs.standardError(QStringLiteral("Axis Maximum Value must be >= Minimum.")); },
        [&] {
            SaveFileRequest request;
            request.title = QStringLiteral("Экспорт графика");
            request.filters << QStringLiteral("Картинка (*.bmp)");
            dialogs.saveFile(request);
        },
    };
    for (std::size_t i = 0; i < std::size(boxes); ++i) {
        SCOPED_TRACE(i);
        // No modal dialog up: the main window owns the box.
        EXPECT_EQ(ownerOfTheBoxOpenedBy(boxes[i], nullptr), &main);
        // The dialog shown modally: it owns the box, scope or not.
        setup.setWindowModality(Qt::ApplicationModal);
        setup.show();
        EXPECT_EQ(ownerOfTheBoxOpenedBy(boxes[i], &setup), &setup);
        {
            const Dialogs::OwnerScope scope(dialogs, &setup);
            EXPECT_EQ(ownerOfTheBoxOpenedBy(boxes[i], &setup), &setup);
        }
        setup.hide();
        setup.setWindowModality(Qt::NonModal);
        // A scope alone decides too (the dialog runs, the box comes from its handler).
        {
            const Dialogs::OwnerScope scope(dialogs, &setup);
            EXPECT_EQ(ownerOfTheBoxOpenedBy(boxes[i], nullptr), &setup);
        }
    }
}

using ModalDialogOwners = MainWindowFixture;

TEST_F(ModalDialogOwners, TheReportSelectionDialogOwnsItsDeleteQuestions)
{
    startAndShow();
    QFile file(QDir(form().poolDirectory()).filePath(QStringLiteral("hall.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(12, '\0'));
    file.close();

    ReportSelectionDialog& repsel = windows->reportSelectionDialog();
    dialogs.warningAnswers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
    gui::whileModal(repsel, [&] { gui::named<QPushButton>(repsel, "BitBtn2")->click(); });
    gui::named<QAction>(form(), "AcLoadReport")->trigger();
    const QStringList asked = dialogs.texts(FakeDialogs::Kind::Warning);
    ASSERT_EQ(asked.size(), 2);
    ASSERT_FALSE(dialogs.shown.empty());
    for (const FakeDialogs::Shown& s : dialogs.shown)
        EXPECT_EQ(s.owner, &repsel) << s.text.toStdString();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::Message), QStringList{QStringLiteral("Отчет удален !")});

    // Once the dialog is gone, boxes belong to the main window again.
    dialogs.message(QStringLiteral("после"));
    EXPECT_EQ(dialogs.shown.back().owner, nullptr);
}

TEST_F(ModalDialogOwners, TheGraphSetupDialogOwnsItsSaveDialogAndErrorBoxes)
{
    startAndShow();
    form().setReportActionsEnabled(true);
    GraphSetupDialog& setup = windows->graphSetupDialog();
    gui::whileModal(setup, [&] {
        gui::named<QPushButton>(setup, "Button2")->click();  // the picture export's save dialog, cancelled
        // A mode picked with limits the axis refuses: the error reaches the standard error box.
        gui::named<MaskEdit>(setup, "MaskEdit1")->setText(QStringLiteral("+80,0"));
        gui::named<MaskEdit>(setup, "MaskEdit2")->setText(QStringLiteral("+20,0"));
        gui::named<QComboBox>(setup, "ComboBox1")->setCurrentIndex(kAxisManual);
        try {
            emit gui::named<QComboBox>(setup, "ComboBox1")->activated(kAxisManual);
        } catch (const std::exception& e) {
            ShowStandardError(dialogs, QString::fromUtf8(e.what()));
        }
    });
    gui::named<QAction>(form(), "AcSetupGraph")->trigger();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::SaveFile), QStringList{QStringLiteral("Экспорт графика")});
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::StandardError).size(), 1);
    for (const FakeDialogs::Shown& s : dialogs.shown)
        EXPECT_EQ(s.owner, &setup) << s.text.toStdString();
}

}  // namespace
