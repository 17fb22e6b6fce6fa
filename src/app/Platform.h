#pragma once
// Everything the main window asks of the platform, handed in at construction so
// that tests can drive the real window through fakes.
#include "platform/Services.h"
#include "platform/picture/PictureLoader.h"

struct Platform {
    FileDialogs& files;
    ColorDialog& colors;
    MessageBoxes& messages;
    SystemServices& system;
    PointerConfinement& pointer;
    PictureLoader& pictures;
};
