#pragma once

#include "ui/common/Prompts.h"

#include <exception>
#include <utility>

// Runs one handler. A failure it throws (an I/O error, a conversion error, a start-at-logon
// error, anything else) is shown in a plain message box titled "Updater" and the rest of
// the handler is abandoned. Returns false when the handler failed.
template <typename Handler>
bool guarded(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& error) {
        prompts().message(QString::fromUtf8(error.what()));
    } catch (...) {
        prompts().message(QStringLiteral("An unexpected error occurred."));
    }
    return false;
}
