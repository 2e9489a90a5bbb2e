#include "app/answers.h"

#include "app/messages.h"

namespace zrv {

bool readAnswer(Console& console, std::string& answer) {
  if (console.in >> answer) {
    return true;
  }
  // The prompt is still on its line, so the halt line starts on a new one.
  console.out << std::endl << kHaltInputEnded << std::endl;
  return false;
}

}  // namespace zrv
