#include "platform/InstanceChannel.h"
#include "platform/win/Win32.h"
#include "tests/win/Cases.h"

#include <optional>

namespace wintest {

namespace {

using platform::InstanceChannel;

std::string keyOfThisRun(const std::string& name)
{
    return "Updater-wintest-" + std::to_string(::GetCurrentProcessId()) + "-" + name;
}

bool signalled(const InstanceChannel& channel)
{
    return ::WaitForSingleObject(reinterpret_cast<HANDLE>(channel.handle()), 0) == WAIT_OBJECT_0;
}

} // namespace

void addInstanceChannelCases(Runner& runner)
{
    runner.add("instance channel: nobody listens, nobody is asked", [] {
        InstanceChannel later(keyOfThisRun("nobody"));
        CHECK(!later.askRunningInstance());
        CHECK_EQ(later.handle(), std::intptr_t{-1});
    });

    runner.add("instance channel: a later start asks the listening one, once per request", [] {
        InstanceChannel running(keyOfThisRun("asked"));
        CHECK(running.listen());
        CHECK(!signalled(running));
        CHECK_EQ(running.takeRequests(), 0);
        InstanceChannel later(keyOfThisRun("asked"));
        CHECK(later.askRunningInstance());
        CHECK(signalled(running));
        CHECK_EQ(running.takeRequests(), 1);
        CHECK(!signalled(running));
        CHECK_EQ(running.takeRequests(), 0);
        InstanceChannel other(keyOfThisRun("other installation"));
        CHECK(!other.askRunningInstance());
        CHECK(!signalled(running));
    });

    runner.add("instance channel: a second listener is refused; once the first ends the key is free", [] {
        std::optional<InstanceChannel> first(std::in_place, keyOfThisRun("twice"));
        CHECK(first->listen());
        InstanceChannel second(keyOfThisRun("twice"));
        CHECK(!second.listen());
        first.reset();
        CHECK(!second.askRunningInstance());
        CHECK(second.listen());
    });
}

} // namespace wintest
