#include "platform/StartupEntry.h"

namespace platform {

namespace {

std::string describe(StartupEntryError::Kind kind, const std::string& name)
{
    switch (kind) {
    case StartupEntryError::Kind::FailedToSetData: return "Failed to set data for '" + name + "'";
    case StartupEntryError::Kind::InvalidDataType: return "Invalid data type for '" + name + "'";
    case StartupEntryError::Kind::FailedToDelete: return "Failed to delete data for '" + name + "'";
    }
    return name;
}

} // namespace

StartupEntryError::StartupEntryError(Kind kind, const std::string& name)
    : std::runtime_error(describe(kind, name)), kind_(kind)
{
}

} // namespace platform
