// The words only wamerican-huge holds that the productive rules derive, respelled from the real
// sources; and the ones they leave out.

#include <gtest/gtest.h>

#include "database_builder.h"
#include "real_sources.h"

namespace zrv::words_tool {
namespace {

using test::accentLabelled;
using test::realInputs;

TEST(LargeListWordsOnTheRealSources, DerivedWordsAreRespelledFromTheirEntryInTwoAccents) {
  struct Case {
    std::string_view word;
    std::string_view usMidland;
    std::string_view ukRp;
  };
  const Case cases[] = {
      // prefixes on a list word
      {"relicensing", "rīlaisunsiŋ", "rīlaisunsiŋ"},
      {"sublicense", "sublaisuns", "sublaisuns"},
      {"sublicenses", "sublaisunsiz", "sublaisunsiz"},
      {"sublicensing", "sublaisunsiŋ", "sublaisunsiŋ"},
      // the plural of an -or entry the standard lists lack
      {"licensors", "laisunsurz", "laisunsuz"},
      // -ability of the -able made from merchant, its stress on "bil"
      {"merchantability", "murчuntubiluɾī", "můчuntubilutī"},
      // the dictionary's own non- word keeps its reading
      {"noncommercial", "nānkumurћul", "nonkumůћul"},
      // left out: un- (some 3,300 more forms), a word in no list, a name
      {"unrepealed", "", ""},
      {"noncommercially", "", ""},
      {"affero", "", ""},
  };
  for (const Case& c : cases) {
    for (const auto& [label, expected] :
         {std::pair{"US Midland", c.usMidland}, std::pair{"UK RP", c.ukRp}}) {
      EXPECT_EQ(spellingsIn(realInputs(), c.word, accentLabelled(label)),
                expected.empty() ? std::vector<std::string>{}
                                 : std::vector<std::string>{std::string(expected)})
          << label << ": " << c.word;
    }
  }
}

}  // namespace
}  // namespace zrv::words_tool
