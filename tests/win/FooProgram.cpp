// A program to find and end in the process tests, copied under the names they need. It
// ends on its own after a minute, with exit code 3, should a test leave it running.
#include <windows.h>

int main()
{
    ::Sleep(60000);
    return 3;
}
