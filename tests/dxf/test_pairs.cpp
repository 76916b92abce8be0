// The pair reader over the line list.
#include <gtest/gtest.h>

#include "dxf/LineStore.h"

using namespace kerbon;

TEST(PairReader, LastLineIsNeverRead)
{
    const std::vector<std::string> dxf = {"  0", "EOF"};
    PairReader r{dxf};
    EXPECT_EQ(r.readLine(), "0");
    EXPECT_EQ(r.readLine(), "");
    EXPECT_EQ(r.pos, 1);
}
