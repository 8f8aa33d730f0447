// The real question box: a button gives its answer, Esc and the title-bar button give "closed
// without an answer"; Qt's own buttons speak Russian once the translations are installed.
#include "widgets/dialogs.h"
#include "support/gui_helpers.h"
#include "app/qt_translations.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace {

// Plays the user's part on the box once it is up.
Dialogs::Answer answerWarning(const std::function<void(QMessageBox*)>& user, QString* buttonTexts = nullptr)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        if (buttonTexts)
            for (QAbstractButton* b : box->buttons())
                *buttonTexts += b->text().remove(QLatin1Char('&')) + QLatin1Char(' ');
        user(box);
    });
    poll.start(10);
    DesktopDialogs dialogs;
    return dialogs.warning(QStringLiteral("Изменился номер прибора. Сохранить старый отчет ?"));
}

}  // namespace

TEST(DesktopDialogs, WarningTellsAButtonFromAClosedBox)
{
    EXPECT_EQ(answerWarning([](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); }), Dialogs::Answer::Yes);
    EXPECT_EQ(answerWarning([](QMessageBox* b) { b->button(QMessageBox::No)->click(); }), Dialogs::Answer::No);
    EXPECT_EQ(answerWarning([](QMessageBox* b) { gui::keyClick(b, Qt::Key_Escape); }), Dialogs::Answer::Closed);
    // The title-bar button asks the window to close.
    EXPECT_EQ(answerWarning([](QMessageBox* b) { b->close(); }), Dialogs::Answer::Closed);
}

TEST(DesktopDialogs, QtButtonsSpeakRussian)
{
    ASSERT_TRUE(InstallRussianQtTranslations(*QCoreApplication::instance()));
    QString texts;
    answerWarning([](QMessageBox* b) { b->button(QMessageBox::No)->click(); }, &texts);
    EXPECT_EQ(texts.split(' ', Qt::SkipEmptyParts).size(), 2);
    EXPECT_TRUE(texts.contains(QStringLiteral("Да"))) << texts.toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Нет"))) << texts.toStdString();
}
