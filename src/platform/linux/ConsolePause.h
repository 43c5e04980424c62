#pragma once

#include <iosfwd>

namespace lv {

// The console's "PAUSE": prints "Press any key to continue . . . " and waits for one key on
// a terminal, or for one line when input comes from elsewhere; the end of input continues.
void pauseConsole(std::ostream& out, std::istream& in, int inputDescriptor);

}  // namespace lv
