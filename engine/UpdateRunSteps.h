#pragma once

#include "store/Records.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

// The index of the last update record named exactly `name` (same bytes, letter case
// included), or nothing when none is.
std::optional<std::size_t> lastUpdateNamed(const std::vector<upd>& updates, const QByteArray& name);

// The message that asks the user to close a running instance of `programName` first. The
// two carriage returns without a line feed are the program's own words.
QString runningInstanceText(const QString& programName);

// The question asked when a running instance of `programName` could not be ended: Yes gives
// its update up for this run.
QString cannotCloseText(const QString& programName);
