#include "letter_to_sound.h"

#include <cctype>

namespace zrv::words_tool::morphology {

/// A recursive-descent reader of the rules' Scheme text, token by token.
class LetterToSoundParser {
 public:
  LetterToSoundParser(std::string_view text, LetterToSound& rules) : text_(text), rules_(rules) {}

  /// The error, or empty once the whole list has been read.
  std::string run() {
    if (!expect("(") || !expect("set!") || !expectAny() || !expect("'") || !expect("(")) {
      return error_;
    }
    while (peek() == "(") {
      next();
      const std::string letter(next());
      if (letter.size() != 1 || letter[0] < 'a' || letter[0] > 'z') {
        return fail("a letter from a to z");
      }
      const int root = tree();
      if (root < 0 || !expect(")")) {
        return error_;
      }
      rules_.trees_[letter[0] - 'a'] = root;
    }
    if (!expect(")") || !expect(")")) {
      return error_;
    }
    return {};
  }

  int line() const { return line_; }

 private:
  /// TREE: "((FEATURE is VALUE) TREE TREE)" or a leaf "(((PHONE P) ... BEST))".
  int tree() {
    if (!expect("(") || !expect("(")) {
      return -1;
    }
    if (peek() == "(") {
      return leaf();
    }
    const std::string feature(next());
    const int offset = offsetOf(feature);
    if (offset == 0 || !expect("is")) {
      fail("a feature such as p.name or n.n.name");
      return -1;
    }
    LetterToSound::Node node;
    node.offset = offset;
    node.value = std::string(next());
    if (!expect(")")) {
      return -1;
    }
    const int index = static_cast<int>(rules_.nodes_.size());
    rules_.nodes_.push_back(node);
    const int yes = tree();
    if (yes < 0) {
      return -1;
    }
    const int no = tree();
    if (no < 0 || !expect(")")) {
      return -1;
    }
    rules_.nodes_[index].yes = yes;
    rules_.nodes_[index].no = no;
    return index;
  }

  /// After "((": the weighted alternatives, then the best phone, then "))".
  int leaf() {
    while (peek() == "(") {
      next();
      next();
      next();
      if (!expect(")")) {
        return -1;
      }
    }
    const std::string best(next());
    if (best.empty() || best == "(" || best == ")" || !expect(")") || !expect(")")) {
      fail("a leaf's best phone");
      return -1;
    }
    LetterToSound::Node node;
    if (best != "_epsilon_") {
      std::size_t start = 0;
      for (std::size_t dash = best.find('-'); start <= best.size(); dash = best.find('-', start)) {
        std::string phone =
            best.substr(start, dash == std::string::npos ? std::string::npos : dash - start);
        for (char& c : phone) {
          c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        // The rules keep a schwa of their own; the dictionary writes it AH0.
        if (phone == "AX0" || phone == "AX") {
          phone = "AH0";
        }
        node.phones.push_back(phone);
        if (dash == std::string::npos) {
          break;
        }
        start = dash + 1;
      }
    }
    rules_.nodes_.push_back(std::move(node));
    return static_cast<int>(rules_.nodes_.size()) - 1;
  }

  static int offsetOf(std::string_view feature) {
    int offset = 0;
    while (feature.substr(0, 2) == "p." || feature.substr(0, 2) == "n.") {
      offset += feature[0] == 'p' ? -1 : 1;
      feature.remove_prefix(2);
    }
    return feature == "name" ? offset : 0;
  }

  std::string_view peek() {
    if (!havePeek_) {
      peeked_ = read();
      havePeek_ = true;
    }
    return peeked_;
  }

  std::string_view next() {
    const std::string_view token = peek();
    havePeek_ = false;
    return token;
  }

  std::string_view read() {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\n') {
        ++line_;
        ++at_;
      } else if (c == ';') {
        while (at_ < text_.size() && text_[at_] != '\n') {
          ++at_;
        }
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++at_;
      } else {
        break;
      }
    }
    if (at_ >= text_.size()) {
      return {};
    }
    const std::size_t start = at_;
    if (text_[at_] == '(' || text_[at_] == ')' || text_[at_] == '\'') {
      ++at_;
    } else {
      while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_])) &&
             text_[at_] != '(' && text_[at_] != ')') {
        ++at_;
      }
    }
    return text_.substr(start, at_ - start);
  }

  bool expect(std::string_view token) {
    if (next() != token) {
      // Built in place: g++ 12 at -O3 flags `"..." + std::string(...)` with a false -Wrestrict.
      std::string quoted(1, '"');
      quoted.append(token).push_back('"');
      fail(quoted);
      return false;
    }
    return true;
  }

  bool expectAny() {
    const std::string_view token = next();
    if (token.empty() || token == "(" || token == ")") {
      fail("a name");
      return false;
    }
    return true;
  }

  std::string fail(const std::string& wanted) {
    if (error_.empty()) {
      error_ = "expected " + wanted;
    }
    return error_;
  }

  std::string_view text_;
  LetterToSound& rules_;
  std::size_t at_ = 0;
  int line_ = 1;
  std::string_view peeked_;
  bool havePeek_ = false;
  std::string error_;
};

bool LetterToSound::parse(std::string_view text, std::string_view sourceName, std::string& error) {
  nodes_.clear();
  trees_.assign(26, -1);
  LetterToSoundParser parser(text, *this);
  if (std::string message = parser.run(); !message.empty()) {
    error = std::string(sourceName) + ":" + std::to_string(parser.line()) + ": " + message;
    nodes_.clear();
    trees_.assign(26, -1);
    return false;
  }
  return true;
}

std::vector<std::string> LetterToSound::pronounce(std::string_view word) const {
  // The word between edge marks "#", and "0" beyond them, as the trees were trained.
  auto letterAt = [&](int i) -> std::string {
    if (i == 0 || i == static_cast<int>(word.size()) + 1) {
      return "#";
    }
    if (i < 0 || i > static_cast<int>(word.size()) + 1) {
      return "0";
    }
    return std::string(1, word[i - 1]);
  };
  std::vector<std::string> phones;
  for (int i = 1; i <= static_cast<int>(word.size()); ++i) {
    const char c = word[i - 1];
    if (c < 'a' || c > 'z' || trees_[c - 'a'] < 0) {
      return {};
    }
    const Node* node = &nodes_[trees_[c - 'a']];
    while (node->offset != 0) {
      node = &nodes_[letterAt(i + node->offset) == node->value ? node->yes : node->no];
    }
    phones.insert(phones.end(), node->phones.begin(), node->phones.end());
  }
  return phones;
}

}  // namespace zrv::words_tool::morphology
