// The scan-only floor of the transliteration loop: the program's own reading, progress
// arithmetic, sentence collection, apostrophe folding, word scanning, key building, case transfer
// and writing, with every word taken as its own only form and no database at all. What the
// program spends beyond this is the price of its lookups.
//
//   floor_scan <text> <output file>
//
// Prints one line "words=N seconds=S": the words scanned and the seconds from the first character
// read to the output flushed.

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>

#include "app/stream_reading.h"
#include "app/text_filters.h"
#include "engine/case_transfer.h"
#include "engine/word_bytes.h"

namespace {

void put(std::ostream& out, const std::string& text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

struct Scan {
  std::ostream& out;
  std::uint64_t words = 0;

  void writeWord(const std::string& word, char delimiter) {
    words += 1;
    const std::string basis = zrv::removeSingleEdgeQuotes(word);
    const bool first = !basis.empty() && zrv::isUpperCaseLetter(basis.front());
    const bool last = first && zrv::isUpperCaseLetter(basis.back());
    // The key the program would look up stands as the word's form.
    const std::string form = zrv::toLowerCase(basis);
    if (word.front() == '\'') {
      out.put('\'');
    }
    if (!first) {
      put(out, form);
    } else if (!last) {
      put(out, zrv::capitalizeFirstLetter(form));
    } else {
      put(out, zrv::toUpperCase(form));
    }
    if (word.size() > 1 && word.back() == '\'') {
      out.put('\'');
    }
    out.put(delimiter);
  }

  void sentence(const std::string& text) {
    std::string word;
    for (const char byte : text) {
      if (zrv::isWordByte(byte)) {
        word.push_back(byte);
      } else if (word.empty()) {
        out.put(byte);
      } else {
        writeWord(word, byte);
        word.clear();
      }
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <text> <output file>\n", argv[0]);
    return 2;
  }
  std::fstream input(argv[1], std::ios::in | std::ios::out);
  std::ofstream output(argv[2], std::ios::out | std::ios::trunc);
  if (!input.is_open() || !output.is_open()) {
    std::fprintf(stderr, "cannot open %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  // The character count, as the program takes it before the clock starts.
  std::uint64_t total = 0;
  {
    char block[1 << 16];
    std::streamsize got = 0;
    while ((got = zrv::takeBlock(*input.rdbuf(), block, sizeof block)) > 0) {
      total += static_cast<std::uint64_t>(got);
    }
    input.clear();
    input.seekg(0, std::ios::beg);
  }
  std::ostringstream progress;
  const auto start = std::chrono::steady_clock::now();

  const double step = (static_cast<double>(total) / 100.0) * 5.0;
  std::uint64_t read = 0;
  std::string sentence;
  Scan scan{output};
  std::streambuf& in = *input.rdbuf();
  constexpr auto kEnd = std::char_traits<char>::eof();
  while (zrv::peekCharacter(in) != kEnd) {
    const char character = std::char_traits<char>::to_char_type(zrv::takeCharacter(in));
    read += 1;
    if (std::fmod(static_cast<double>(read), step) < 1.0 || read == total) {
      progress << static_cast<double>(read) / static_cast<double>(total) * 100.0 << "% (" << read
               << "/" << total << ")" << std::endl;
    }
    sentence.push_back(character);
    const bool inputEnds = zrv::peekCharacter(in) == kEnd;
    if (character != '.' && character != '?' && character != '!' && !inputEnds) {
      continue;
    }
    if (inputEnds) {
      sentence.push_back(' ');
    }
    sentence = zrv::normalizeApostrophes(std::move(sentence));
    scan.sentence(sentence);
    sentence.clear();
    if (!output) {
      std::fprintf(stderr, "cannot write %s\n", argv[2]);
      return 1;
    }
  }
  output.flush();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!output) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("words=%llu seconds=%.6f\n", static_cast<unsigned long long>(scan.words), seconds);
  return 0;
}
