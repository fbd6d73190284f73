#include <gtest/gtest.h>
#include "platform/host/fake_world.h"
TEST(Smoke, Builds) { fake::Reset(); EXPECT_EQ(0, fake::OpenKeyCount()); }
