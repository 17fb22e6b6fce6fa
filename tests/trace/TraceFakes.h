#pragma once
// Platform fakes for the trace tests: record what the dialog asked for instead
// of showing a box or beeping.
#include "platform/Services.h"

#include <QStringList>

class RecordingMessages : public MessageBoxes {
public:
    void error(const QString& text, const QString& title) override { calls << title + "|" + text; }
    bool confirm(const QString& text, const QString& title) override
    {
        calls << title + "|" + text;
        return true;
    }
    QStringList calls;
};

// Beeps and message boxes are logged into one list so their order can be checked.
class RecordingSystem : public SystemServices {
public:
    explicit RecordingSystem(QStringList& log) : log_(log) {}
    void beep() override { log_ << QStringLiteral("beep"); }
    void sleep(int) override {}
    void processEventsOnce() override {}

private:
    QStringList& log_;
};
