#include "device/port_names.h"

#include <gtest/gtest.h>

TEST(PortNames, TwentyNamesInListOrder)
{
    ASSERT_EQ(portNames().size(), 20);
    EXPECT_EQ(portNames().front(), "COM1");
    EXPECT_EQ(portNames()[8], "COM9");
    EXPECT_EQ(portNames()[9], "\\\\.\\COM10");
    EXPECT_EQ(portNames().back(), "\\\\.\\COM20");
}
