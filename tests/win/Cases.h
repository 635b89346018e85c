#pragma once

#include "tests/win/TestRunner.h"

namespace wintest {

void addCodePageCases(Runner& runner);
void addFileAccessCases(Runner& runner);
void addProcessTableCases(Runner& runner);
void addStartupEntryCases(Runner& runner);

} // namespace wintest
