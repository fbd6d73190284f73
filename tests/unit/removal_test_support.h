// Helpers shared by the removal step tests: a cleared description record,
// the failure reports made so far, and the check that nothing was left open.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/error_report.h"
#include "platform/host/fake_world.h"
#include "tests/stand_ins/stand_ins.h"
#include "uninstall_data/uninstall_data.h"

// The record is too large for a test's stack under the sanitizers.
inline UninstallData& ClearedRecord() {
    static UninstallData record;
    memset(&record, 0, sizeof record);
    return record;
}

// A fresh fake world with no failure recorded yet.
inline UninstallData& FreshWorld() {
    fake::Reset();
    SetErrorState("", 0);
    return ClearedRecord();
}

// The diagnostics of every failure reported since the reset, in order.
// Every wait for the program fails, with or without the thread's messages,
// as for a process handle without the right to wait on it.
inline void FailWaitsOn(const std::string& program) {
    fake::FailCall("WaitForSingleObject", ERROR_ACCESS_DENIED, 0, program);
    fake::FailCall("MsgWaitForMultipleObjects", ERROR_ACCESS_DENIED, 0, program);
}

inline std::vector<std::string> Reports() {
    std::vector<std::string> texts;
    const std::string prefix = "OutputDebugStringA ";
    for (const std::string& line : fake::CallsTo(prefix)) texts.push_back(line.substr(prefix.size()));
    return texts;
}

inline void ExpectNothingOpen(const std::string& where) {
    EXPECT_EQ(0, fake::OpenKeyCount()) << where << ": registry key left open";
    EXPECT_EQ(0, stand_in::OpenProcessHandleCount()) << where << ": process handle left open";
    EXPECT_EQ(0, stand_in::LoadedLibraryCount()) << where << ": library left loaded";
}

inline int CountCalls(const std::string& call) {
    int count = 0;
    for (const std::string& line : fake::CallLog()) count += line == call;
    return count;
}
