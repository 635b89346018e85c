#pragma once

#include "ui/main/UpdaterState.h"

class QWidget;

// Shows the Programs dialog modally over the program list, 10 pixels right of and below the
// opener's top-left corner, and returns once it has been closed and destroyed; the caller
// reads `programok` afterwards. The caller holds it back while an update run is in progress:
// the dialog grows, shrinks and rewrites the list the update worker reads.
void openProgramsDialog(UpdaterState& state, QWidget* opener);
