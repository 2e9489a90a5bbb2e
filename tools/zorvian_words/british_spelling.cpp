#include "british_spelling.h"

#include <algorithm>

namespace zrv::words_tool::morphology {
namespace {

bool isVowelLetter(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

bool endsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

class Candidates {
 public:
  explicit Candidates(std::string_view word) : word_(word) {}

  /// Replaces `from` at `at` by `to`, when the word has `from` there.
  void replaceAt(std::size_t at, std::string_view from, std::string_view to) {
    if (word_.compare(at, from.size(), from) != 0) {
      return;
    }
    std::string candidate = word_.substr(0, at);
    candidate += to;
    candidate += word_.substr(at + from.size());
    if (candidate != word_ && std::find(list_.begin(), list_.end(), candidate) == list_.end()) {
      list_.push_back(std::move(candidate));
    }
  }

  /// Every place of `from` in the word from `minimumAt` on, one at a time, when `fits` accepts
  /// the letters around it.
  template <typename Fits>
  void replaceEach(std::string_view from, std::string_view to, std::size_t minimumAt, Fits fits) {
    for (std::size_t at = word_.find(from, minimumAt); at != std::string::npos;
         at = word_.find(from, at + 1)) {
      if (fits(at)) {
        replaceAt(at, from, to);
      }
    }
  }

  char letterAt(std::size_t at) const { return at < word_.size() ? word_[at] : '\0'; }
  const std::string& word() const { return word_; }
  std::vector<std::string> take() { return std::move(list_); }

 private:
  std::string word_;
  std::vector<std::string> list_;
};

}  // namespace

std::vector<std::string> americanSpellings(std::string_view british) {
  Candidates c(british);
  const std::string& w = c.word();
  auto anywhere = [](std::size_t) { return true; };

  // colour, favoured, behaviour; "our" at the start is the word "our" (ours, ourselves).
  c.replaceEach("our", "or", 1, anywhere);
  // organise, organisation, organising, analyse; the letter after "s" keeps "wise" and "raise"
  // apart from words like "island", and the dictionary decides the rest.
  c.replaceEach("is", "iz", 1, [&](std::size_t at) {
    const char next = c.letterAt(at + 2);
    return next == 'e' || next == 'a' || next == 'i';
  });
  c.replaceEach("ys", "yz", 1, [&](std::size_t at) {
    const char next = c.letterAt(at + 2);
    return next == 'e' || next == 'i';
  });
  // centre, metre, fibre, meagre, sepulchre, manoeuvre and their -s, -d and -ing forms.
  for (std::string_view end : {"re", "res", "red", "ring"}) {
    if (endsWith(w, end) && w.size() > end.size() + 1) {
      const std::size_t at = w.size() - end.size();
      const char before = w[at - 1];
      if (std::string_view("tbvgmh").find(before) != std::string_view::npos) {
        std::string american = "er";
        american += end.substr(2);
        if (end == "red") {
          american = "ered";
        } else if (end == "ring") {
          american = "ering";
        }
        c.replaceAt(at, end, american);
      }
    }
  }
  // travelled, traveller, jewellery, marvellous: British doubles l after an unstressed vowel.
  c.replaceEach("ll", "l", 1, [&](std::size_t at) {
    return isVowelLetter(c.letterAt(at - 1)) && isVowelLetter(c.letterAt(at + 2));
  });
  // enrol, fulfil, skilful, instalment: the opposite, a single l where American doubles it.
  c.replaceEach("l", "ll", 1, [&](std::size_t at) {
    if (!isVowelLetter(c.letterAt(at - 1)) || c.letterAt(at + 1) == 'l' ||
        c.letterAt(at - 2) == 'l') {
      return false;
    }
    const std::string_view rest = std::string_view(w).substr(at + 1);
    return rest.empty() || rest == "s" || rest.substr(0, 3) == "ful" || rest.substr(0, 4) == "ment";
  });
  // catalogue, dialogue, analogue.
  c.replaceEach("ogue", "og", 1, anywhere);
  // defence, licence, offence, pretence.
  c.replaceEach("ence", "ense", 1, anywhere);
  // programme.
  c.replaceEach("mme", "m", 1, [&](std::size_t at) {
    const std::string_view rest = std::string_view(w).substr(at + 3);
    return rest.empty() || rest == "s";
  });
  // anaemia, encyclopaedia, foetus, manoeuvre.
  c.replaceEach("ae", "e", 0, anywhere);
  c.replaceEach("oe", "e", 0, anywhere);
  // judgement, acknowledgement.
  c.replaceEach("dgement", "dgment", 1, anywhere);
  // mould, smoulder, moult.
  c.replaceEach("oul", "ol", 1, [&](std::size_t at) {
    const char next = c.letterAt(at + 3);
    return next == 'd' || next == 't';
  });
  return c.take();
}

}  // namespace zrv::words_tool::morphology
