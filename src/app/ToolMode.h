#pragma once
#include <cstdint>

// The current tool; the value is the index of the toolbar button that selects it.
enum class ToolMode : std::int16_t { Pen = 1, HErase = 2, VErase = 3, Erase = 4, XY = 5, Sight = 6 };

inline bool isDrawingTool(ToolMode m)
{
    return m == ToolMode::Pen || m == ToolMode::HErase || m == ToolMode::VErase || m == ToolMode::Erase;
}
