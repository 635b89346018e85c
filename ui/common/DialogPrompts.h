#pragma once

#include "ui/common/Prompts.h"

// The real dialogs.
class DialogPrompts final : public Prompts {
public:
    void message(const QString& text) override;
    bool confirm(const QString& text) override;
    QString inputBox(const QString& caption, const QString& prompt, const QString& initial) override;
    QString passwordBox(const QString& caption, const QString& prompt) override;
    QString openExecutable(QWidget* parent) override;
    std::optional<QString> browseForFolder(QWidget* parent, const QString& start) override;
    std::optional<QString> selectDirectory(QWidget* parent, const QString& start) override;
};
