// A fresh fake world and process state for each removal test, and the check
// that the test left no handle or key open.
#pragma once

#include <gtest/gtest.h>

#include "system/run_state.h"
#include "messages/error_report.h"
#include "platform/host/fake_world.h"
#include "removal_test_support.h"

class RemovalTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        RunMode = Silent;
        InstallMode = false;
        RestartNeeded = false;
        SetErrorState("", 0);
    }
    void TearDown() override {
        EXPECT_EQ(0, fake::OpenHandleCount()) << "handles left open";
        ExpectNothingOpen("");
    }
};
