#pragma once
// The main window's own state, shared by its tool, marker, capture and trace code.
#include "app/ToolMode.h"
#include "platform/CursorValue.h"

#include <QRect>
#include <cstdint>

struct MainViewState {
    std::int16_t eraserSizeStep = 0;  // only its value modulo 3 is used; kept in 0..2
    float dragStartX = 0;
    float dragStartY = 0;
    CursorValue cursorValueX;
    CursorValue cursorValueY;
    bool traceMarksShown = false;
    // The calibration was confirmed on a picture opened before the one shown,
    // and whether the user chose to go on with it for this picture.
    bool calibrationFromEarlierPicture = false;
    bool earlierCalibrationAccepted = false;
    ToolMode toolMode = ToolMode::XY;
    float lastScaleWidth = 0;
    std::int32_t lastScaleHeight = 0;
    QRect cursorClip;  // screen pixels handed to the pointer confinement
};
