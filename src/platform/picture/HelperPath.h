#pragma once
#include <QString>

// Where the decoding helper lives: beside the running program (the build
// folder).
QString decoderHelperPath();
