#pragma once
#include "platform/Services.h"

class QtSystemServices : public SystemServices {
public:
    void beep() override;
    void sleep(int milliseconds) override;
    void processEventsOnce() override;
};
