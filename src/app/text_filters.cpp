#include "app/text_filters.h"

#include <regex>

namespace zrv {

namespace {

bool isAsciiAlphanumeric(unsigned char byte) {
  return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= 'a' && byte <= 'z');
}

}  // namespace

std::string normalizeApostrophes(std::string text) {
  // Every typographic apostrophe starts with one of these lead bytes; a text without them (almost
  // every sentence) is returned without running the expression.
  if (text.find_first_of("\xCA\xE2\xEF") == std::string::npos) {
    return text;
  }
  static const std::regex typographicApostrophe("(\xCA\xBC|\xE2\x80\x98|\xE2\x80\x99|\xEF\xBC\x87)",
                                                std::regex::ECMAScript);
  return std::regex_replace(text, typographicApostrophe, "'");
}

std::string escapeSingleQuotes(std::string text) {
  if (text.find('\'') == std::string::npos) {
    return text;
  }
  static const std::regex apostrophe("'", std::regex::ECMAScript);
  return std::regex_replace(text, apostrophe, "''");
}

std::string removeSingleEdgeQuotes(std::string text) {
  if (!text.empty() && text.front() == '\'') {
    text.erase(0, 1);
  }
  if (text.size() > 1 && text.back() == '\'') {
    text.pop_back();
  }
  return text;
}

std::string removeNonAlphanumerics(std::string text) {
  // A plain loop: the regular-expression engine recurses once per byte of a run it deletes, and a
  // server may send a body with a run of millions of blanks.
  std::string kept;
  kept.reserve(text.size());
  for (char byte : text) {
    if (isAsciiAlphanumeric(static_cast<unsigned char>(byte))) {
      kept.push_back(byte);
    }
  }
  return kept;
}

std::string toLowerCase(std::string text) {
  for (char& byte : text) {
    if (byte >= 'A' && byte <= 'Z') {
      byte = static_cast<char>(byte - 'A' + 'a');
    }
  }
  return text;
}

}  // namespace zrv
