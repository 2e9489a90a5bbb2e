// Standard input that ends while a setup question waits: the run halts there, through the real
// executable, and no prompt is printed after the input has ended.

#include <gmock/gmock.h>

#include "dialog_texts.h"
#include "tool_fixture.h"

namespace zrv::test {
namespace {

class EndOfInput : public ToolFixture {};

TEST_F(EndOfInput, HaltsAtWhicheverQuestionIsWaiting) {
  const std::string menu = accentMenuText();
  const std::string chosen = accentChosenText("zrv_words_us_midland");
  const std::string counted = countText(12);
  const struct {
    const char* question;
    std::string answers;
    std::string printedBeforeTheHalt;  // after the input-file question's prompt
  } cases[] = {
      {"input file menu, nothing typed", "", ""},
      {"input file menu, only white space", "  \n\t\n\n", ""},
      {"input file menu, after a rejected answer", "x\n", kInvalidOption + kMenuPrompt},
      {"custom path", "2\n", pathRequestText()},
      {"custom path, after a wrong extension", "2\nstory.doc\n",
       pathRequestText() + kPathNotTxt + pathRequestText()},
      {"custom path, after an unopenable path", "2\nmissing.txt\n",
       pathRequestText() + kPathCannotBeOpened + pathRequestText()},
      {"accent menu", "1\n", menu},
      {"accent menu, after a rejected answer", "1\n99\n", menu + kInvalidOption + kMenuPrompt},
      {"names question", "1\n16\n", menu + chosen},
      {"names question, after a rejected answer", "1\n16\nmaybe\n",
       menu + chosen + kInvalidOption + kNamesPrompt},
      {"start prompt", "1\n16\ny\n", menu + chosen + counted + kStartPrompt},
      {"start prompt, last answer without a line end", "1\n16\ny",
       menu + chosen + counted + kStartPrompt},
      {"start prompt, after a rejected answer", "1 16 y start",
       menu + chosen + counted + kStartPrompt + kStartPrompt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.question);
    const ProgramResult result = runOn("Hello there.", c.answers);

    EXPECT_EQ(result.out, untilInputQuestion() + c.printedBeforeTheHalt + kInputEnded);
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(result.timedOut);
  }
}

}  // namespace
}  // namespace zrv::test
