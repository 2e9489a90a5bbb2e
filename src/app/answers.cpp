#include "app/answers.h"

#include <streambuf>

#include "app/messages.h"
#include "app/stream_reading.h"

namespace zrv {

namespace {

// The white space of the "C" locale, which ends a token as the stream's own extraction does.
bool isAnswerSpace(int character) {
  return character == ' ' || character == '\t' || character == '\n' || character == '\v' ||
         character == '\f' || character == '\r';
}

}  // namespace

bool readAnswer(Console& console, std::string& answer) {
  answer.clear();
  // The prompt has no line end: it must be on the screen before the program waits. (Extracting
  // from std::cin would flush its tied stream; the buffer read below does not.)
  console.out.flush();
  std::streambuf& input = *console.in.rdbuf();
  constexpr auto kEnd = std::char_traits<char>::eof();
  int next = peekCharacter(input);
  while (next != kEnd && isAnswerSpace(next)) {
    takeCharacter(input);
    next = peekCharacter(input);
  }
  if (next == kEnd) {
    console.in.setstate(std::ios::eofbit | std::ios::failbit);
    // The prompt is still on its line, so the halt line starts on a new one.
    console.out << std::endl << kHaltInputEnded << std::endl;
    return false;
  }
  // An endless token is read to its end without growing: one byte past the limit marks it.
  while (next != kEnd && !isAnswerSpace(next)) {
    if (answer.size() <= kAnswerByteLimit) {
      answer.push_back(std::char_traits<char>::to_char_type(next));
    }
    takeCharacter(input);
    next = peekCharacter(input);
  }
  return true;
}

}  // namespace zrv
