#include "platform/linux/ConsolePause.h"

#include <termios.h>
#include <unistd.h>

#include <istream>
#include <ostream>
#include <string>

namespace lv {

void pauseConsole(std::ostream& out, std::istream& in, int inputDescriptor) {
  out << "Press any key to continue . . . " << std::flush;
  termios saved{};
  if (isatty(inputDescriptor) && tcgetattr(inputDescriptor, &saved) == 0) {
    termios raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(inputDescriptor, TCSANOW, &raw);
    char key;
    [[maybe_unused]] ssize_t n = ::read(inputDescriptor, &key, 1);
    tcsetattr(inputDescriptor, TCSANOW, &saved);
  } else {
    std::string line;
    std::getline(in, line);
  }
  out << '\n' << std::flush;
}

}  // namespace lv
