#pragma once

#include "ui/main/UpdaterState.h"

class QWidget;

// Asks for the administrator password in a masked input box. On the right password shows
// the warning and returns true; on any other entry, or Cancel, shows nothing and returns
// false.
bool adminConsoleLogin();

// Runs the admin console over `state` modally, placed 10 pixels right of and below the
// opener's top-left corner, and destroys it when it closes. `Form5` points to it meanwhile,
// so that the periodic check can hold back while edits may still be unexported.
void openAdminConsole(UpdaterState& state, QWidget* opener);
