#pragma once
// The gain editor and its go-on question live in a module of their own, libTovelUtilsEditor.so,
// which libTovelUtils.so loads on their first use: the editor needs Qt's widgets (and with them the
// GUI and font libraries), the gain curve needs none of it, and a program that only computes curves
// should not pay for loading them.

#include <cstdint>

namespace tovel {

inline constexpr char kEditorModuleName[] = "libTovelUtilsEditor.so";
inline constexpr char kEditName[] = "TovelEditorEdit";
inline constexpr char kAskName[] = "TovelEditorAsk";

// The module's two entries have the meaning of ordinals 2 and 3 (tovel_utils.h).
using EditEntry = int32_t (*)(int32_t* first, int32_t* second, int32_t ns, double* curve);
using AskEntry = int32_t (*)(void* window);

} // namespace tovel
