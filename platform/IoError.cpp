#include "platform/IoError.h"

namespace platform {

namespace {

std::string describe(int code, std::string_view operation, std::string_view file)
{
    std::string text = "Cannot ";
    text += operation;
    text += " \"";
    text += file;
    text += "\": ";
    text += errorText(code);
    text += " (I/O error ";
    text += std::to_string(code);
    text += ")";
    return text;
}

} // namespace

IoError::IoError(int code, std::string_view operation, std::string_view file)
    : std::runtime_error(describe(code, operation, file)), code_(code)
{
}

} // namespace platform
