#pragma once

namespace lv {

// The .tel format version a recording is written in; it also decides how the wheel arrays
// and the fuel are read.
enum class LogFormat { kVersion7 = 7, kVersion5 = 5 };

}  // namespace lv
