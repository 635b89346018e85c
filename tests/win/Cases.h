#pragma once

#include "tests/win/TestRunner.h"

namespace wintest {

void addCodePageCases(Runner& runner);
void addFileAccessCases(Runner& runner);
void addProcessTableCases(Runner& runner);
void addStartupEntryCases(Runner& runner);
void addReplacementSetCases(Runner& runner);
void addFolderListingCases(Runner& runner);
void addInstanceChannelCases(Runner& runner);

} // namespace wintest
