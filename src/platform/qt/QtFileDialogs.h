#pragma once
#include "platform/Services.h"

class QtFileDialogs : public FileDialogs {
public:
    QString openFile(const QString& title, const QStringList& filters, const QString& startFolder) override;
    QString saveFile(const QString& title, const QStringList& filters, const QString& defaultSuffix,
                     const QString& startFolder) override;
};
