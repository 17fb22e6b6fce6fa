#pragma once
#include "platform/Services.h"

class QtMessageBoxes : public MessageBoxes {
public:
    void error(const QString& text, const QString& title) override;
    bool confirm(const QString& text, const QString& title) override;
    SaveChoice askToSave(const QString& text, const QString& title) override;
    int choose(const QString& text, const QString& title, const QStringList& answers) override;
};
