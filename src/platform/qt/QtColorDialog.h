#pragma once
#include "platform/Services.h"

class QtColorDialog : public ColorDialog {
public:
    std::optional<QRgb> chooseColor(QRgb initial) override;
};
