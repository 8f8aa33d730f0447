// The system's error texts: word for word the C library's until a translation is installed,
// then in the program's Russian (the window installs it whatever the locale).
#include "platform/error_text.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

#include <cerrno>
#include <cstring>

TEST(SystemErrorText, TheCLibrarysTextThenTheProgramsRussian)
{
    // The suite runs under C.UTF-8: every errno's text is the C library's own, so the
    // program's table of texts to translate holds them exactly.
    for (int errnum = 1; errnum < 134; ++errnum)
        EXPECT_EQ(SystemErrorText(errnum), QString::fromLocal8Bit(std::strerror(errnum))) << errnum;

    QTranslator russian;
    ASSERT_TRUE(russian.load(QStringLiteral(":/translations/kelmora_ru.qm")));
    QCoreApplication::installTranslator(&russian);
    EXPECT_EQ(SystemErrorText(ECONNREFUSED), QStringLiteral("В соединении отказано"));
    EXPECT_EQ(SystemErrorText(ENOSPC), QStringLiteral("На устройстве не осталось свободного места"));
    EXPECT_EQ(SystemErrorText(EACCES), QStringLiteral("Отказано в доступе"));
    // One the program does not translate stays the C library's.
    EXPECT_EQ(SystemErrorText(ENOTSOCK), QString::fromLocal8Bit(std::strerror(ENOTSOCK)));
    QCoreApplication::removeTranslator(&russian);
}
