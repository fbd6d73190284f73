#!/bin/sh
# Without a recognised mode word the program does nothing and ends with 4;
# "silent" without a description ends with the loader's 1. Nothing changes.
# Usage: mode-words.sh WINDOWS-VERSION
set -u
. "$(dirname "$0")/../lib.sh"
scenario_begin "mode-words-$1" "$1"

snapshot before
expect_exit 4
expect_exit 4 remove
expect_exit 4 --silent
expect_exit 1 silent
snapshot after
expect_only_changes before after
