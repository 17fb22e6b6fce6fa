#pragma once
#include <QString>

// Where the decoding helper lives, for a program in `programDir`: where the
// installation puts it (<prefix>/libexec/orvanta beside <prefix>/bin), else
// beside the program, as in the build folder.
QString decoderHelperPath(const QString& programDir);

// The same for the running program.
QString decoderHelperPath();
