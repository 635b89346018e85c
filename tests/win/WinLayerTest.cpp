// The Windows side of the platform layer against the real system calls (under Wine here).
#include "tests/win/Cases.h"

int main()
{
    wintest::Runner runner;
    wintest::addCodePageCases(runner);
    wintest::addFileAccessCases(runner);
    wintest::addProcessTableCases(runner);
    wintest::addStartupEntryCases(runner);
    wintest::addReplacementSetCases(runner);
    wintest::addFolderListingCases(runner);
    wintest::addInstanceChannelCases(runner);
    return runner.run() == 0 ? 0 : 1;
}
