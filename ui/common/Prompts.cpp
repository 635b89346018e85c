#include "ui/common/Prompts.h"

#include "ui/common/DialogPrompts.h"

namespace {

Prompts* installed = nullptr;

} // namespace

Prompts& prompts()
{
    static DialogPrompts dialogs;
    return installed ? *installed : dialogs;
}

void setPrompts(Prompts* replacement) { installed = replacement; }
