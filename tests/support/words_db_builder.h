#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zrv::test {

/// One row of an accent table, as a test names it. Absent values are stored as NULL.
struct WordRow {
  std::string table;
  std::string englishWord;
  std::optional<std::string> zorvianWord;
  std::optional<int> isName = 0;
  double weight = 1.0;
  int version = 1;
};

/// Writes a real SQLite words database: the 24 accent tables with the five columns, and only the
/// rows a test adds. Tables can be left out or given another column list to make broken files.
class WordsDbBuilder {
 public:
  /// The table used when a row names none: the accent of menu number 16.
  static constexpr const char* kDefaultTable = "zrv_words_us_midland";

  /// Adds a row to kDefaultTable.
  WordsDbBuilder& word(std::string english, std::string zorvian, int isName = 0,
                       double weight = 1.0, int version = 1);
  WordsDbBuilder& row(WordRow row);
  /// Leaves `table` out of the file.
  WordsDbBuilder& withoutTable(std::string table);
  /// Creates `table` with this column list (for instance "english_word TEXT, zorvian_word TEXT")
  /// instead of the five columns; rows for it are not inserted.
  WordsDbBuilder& withColumns(std::string table, std::string columns);

  /// Writes the database to `file`, replacing it.
  void write(const std::filesystem::path& file) const;
  /// The bytes of the database as write() makes it.
  std::string bytes() const;

 private:
  std::vector<WordRow> rows_;
  std::set<std::string> missing_;
  std::vector<std::pair<std::string, std::string>> customColumns_;
};

}  // namespace zrv::test
