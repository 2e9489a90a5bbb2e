#include "transcripts.h"

#include "words/accent_catalog.h"

namespace zrv::test {

std::string bannerText() {
  return "\n"
         "The Zorvian Transliteration Tool v1.3.0C\n"
         "Developed by the Zorvian project.\n"
         "Zorvian spellings and accent tables by the Zorvian words team.\n"
         "Pronunciations derived from the CMU Pronouncing Dictionary.\n"
         "Words stored with SQLite, fetched with libcurl.\n"
         "Free to use on any text you may copy.\n"
         "\n"
         "Visit us online at https://www.zorvian.org\n" +
         std::string(65, '-') + "\n";
}

std::string upToDateText() {
  return "\n"
         "[INFO] Checking for Words Database updates...\n"
         "[INFO] Words Database is already up to date.\n"
         "\n";
}

std::string inputFileQuestionText() {
  return "Would you like to use input.txt as the input file, or choose a custom file?\n"
         "1.) Use input.txt\n"
         "2.) Choose a custom file\n"
         "(#?): ";
}

std::string accentMenuText(const std::map<std::string, std::string>& counts,
                           const std::string& count) {
  std::string text =
      "\n"
      "Select the number of the Zorvian accent you want\n"
      "to transliterate to (asterisks indicate a universal standard):\n";
  for (const AccentTable& accent : accentCatalog) {
    auto found = counts.find(std::string(accent.tableName));
    text += std::to_string(accent.number) + ".) " + std::string(accent.label) +
            (accent.isUniversalStandard ? "*" : "") + " (" +
            (found == counts.end() ? count : found->second) + " dictionary entries)\n";
  }
  return text + "(#?): ";
}

std::string accentChosenText(const std::string& table) {
  return "The " + table +
         " database will be used.\n"
         "\n"
         "Do you want to transliterate names and titles? (y/n): ";
}

std::string countAndStartText(unsigned long long characters) {
  return "[INFO] Counting the number of characters in the input file...\n"
         "[INFO] Total characters in the input file: " +
         std::to_string(characters) +
         "\n"
         "\n"
         "Ready to transliterate. Press s and then enter to start: \n"
         "[INFO] Starting Transliteration...\n";
}

std::string runStartText(unsigned long long characters, const std::string& count,
                         const std::map<std::string, std::string>& counts) {
  return bannerText() + upToDateText() + inputFileQuestionText() + accentMenuText(counts, count) +
         accentChosenText("zrv_words_us_midland") + countAndStartText(characters);
}

std::string inputEndedText() {
  return "\n[ERROR] The input ended before an answer was given. Halting the program.\n";
}

std::string runStartAnswers(char names) {
  return std::string("1\n16\n") + names + "\ns\n";
}

}  // namespace zrv::test
