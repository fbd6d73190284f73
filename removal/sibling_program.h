// The command line of a program that lies beside this one: the device tool
// beside uninst.exe, and the native tool beside the 32-bit one.
#pragma once

#include "platform/platform.h"

// This program's own path is fetched into this many bytes.
#define SIBLING_MODULE_PATH_SIZE 1025

// "FOLDER\PROGRAM" ARGUMENTS: the path quoted, so that a blank in the folder
// cannot end the program's name early. False when this program's path is
// unknown or cut, or the command does not fit `size` bytes.
bool SiblingProgramCommand(const char* program, const char* arguments, char* command, size_t size);
