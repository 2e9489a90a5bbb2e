#include "database_builder.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>

#include "app/text_filters.h"
#include "espeak_names.h"
#include "initialisms.h"
#include "morphology.h"
#include "sync/atomic_file.h"
#include "word_rows.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool {
namespace {

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

bool execute(sqlite3* db, const std::string& sql, std::string& error) {
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    error = "SQLite failed on \"" + sql + "\": " + sqlite3_errmsg(db);
    return false;
  }
  return true;
}

bool insertRows(sqlite3* db, sqlite3_stmt* insert, const std::string& englishWord,
                const std::vector<WordRow>& rows, std::string& error) {
  for (const WordRow& row : rows) {
    sqlite3_bind_text(insert, 1, englishWord.data(), static_cast<int>(englishWord.size()),
                      SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, row.zorvianWord.data(), static_cast<int>(row.zorvianWord.size()),
                      SQLITE_STATIC);
    sqlite3_bind_int(insert, 3, row.isName ? 1 : 0);
    sqlite3_bind_int(insert, 4, row.weight);
    sqlite3_bind_int(insert, 5, kWordVersion);
    const int code = sqlite3_step(insert);
    sqlite3_reset(insert);
    if (code != SQLITE_DONE) {
      error = "SQLite failed to insert \"" + englishWord + "\": " + sqlite3_errmsg(db);
      return false;
    }
  }
  return true;
}

bool isLookupKey(std::string_view key) {
  return !key.empty() && std::all_of(key.begin(), key.end(),
                                     [](char c) { return (c >= 'a' && c <= 'z') || c == '\''; });
}

// The program looks a word up by its letters and inner apostrophes, lower-cased, with one
// apostrophe taken off each edge: "'tis" is found under "tis", "a.m." and "3d" never.
void keyAsLookedUp(std::vector<DictionaryWord>& dictionary, std::size_t& unreachable) {
  std::vector<DictionaryWord> keyed;
  keyed.reserve(dictionary.size());
  std::vector<DictionaryWord> moved;
  for (DictionaryWord& entry : dictionary) {
    std::string key = removeSingleEdgeQuotes(entry.word);
    if (!isLookupKey(key)) {
      ++unreachable;
      continue;
    }
    if (key == entry.word) {
      keyed.push_back(std::move(entry));
    } else {
      entry.word = std::move(key);
      moved.push_back(std::move(entry));
    }
  }
  const auto byWord = [](const DictionaryWord& a, const DictionaryWord& b) {
    return a.word < b.word;
  };
  for (DictionaryWord& entry : moved) {
    const auto at = std::lower_bound(keyed.begin(), keyed.end(), entry, byWord);
    if (at != keyed.end() && at->word == entry.word) {
      continue;  // the plain word's own entry wins
    }
    keyed.insert(at, std::move(entry));
  }
  dictionary = std::move(keyed);
}

// The lower-cased entries of a word list, as the form generator reads them.
bool listEntries(const std::filesystem::path& path, std::vector<std::string>& entries,
                 std::string& error) {
  WordList list;
  if (!readWordList(path, list, error)) {
    return false;
  }
  entries.assign(list.lowerCaseEntries().begin(), list.lowerCaseEntries().end());
  entries.insert(entries.end(), list.capitalisedEntries().begin(), list.capitalisedEntries().end());
  std::sort(entries.begin(), entries.end());
  return true;
}

// Adds the forms the word lists hold and the dictionary lacks (cats, knoweth, colour), made from
// their base entries; a generated form never replaces an entry.
bool addGeneratedForms(const BuildSources& sources, const std::vector<DataFile>& files,
                       BuildInputs& inputs, std::string& error) {
  morphology::Dictionary dictionary;
  for (const DictionaryWord& entry : inputs.dictionary) {
    std::vector<morphology::Phones>& readings = dictionary[entry.word];
    for (const Pronunciation& pronunciation : entry.pronunciations) {
      morphology::Phones phones;
      for (const Phone& phone : pronunciation.phones) {
        phones.push_back(phoneName(phone));
      }
      readings.push_back(std::move(phones));
    }
  }
  morphology::Sources generation;
  generation.dictionary = &dictionary;
  for (std::size_t l = 0; l < sources.wordLists.size(); ++l) {
    std::vector<std::string> entries;
    if (!listEntries(sources.wordLists[l], entries, error)) {
      return false;
    }
    std::vector<std::string>& into = l == 0 ? generation.listWords : generation.britishListWords;
    into.insert(into.end(), entries.begin(), entries.end());
  }
  if (sources.largeWordList) {
    WordList large;
    if (!readWordList(*sources.largeWordList, large, error)) {
      return false;
    }
    generation.largeListWords.assign(large.lowerCaseEntries().begin(),
                                     large.lowerCaseEntries().end());
    std::sort(generation.largeListWords.begin(), generation.largeListWords.end());
  }
  for (const auto& [name, text] :
       {std::pair{"archaic_forms.txt", &generation.archaicForms},
        std::pair{"british_spellings.txt", &generation.britishSpellings}}) {
    const DataFile* file = findDataFile(files, name);
    if (!file) {
      error = std::string("the data file ") + name + " is missing";
      return false;
    }
    *text = {file->name, file->text};
  }
  if (sources.letterToSoundRules) {
    std::ifstream in(*sources.letterToSoundRules, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
      error = "cannot read the letter-to-sound rules " + sources.letterToSoundRules->string();
      return false;
    }
    generation.letterToSoundRules = {sources.letterToSoundRules->string(), text.str()};
  }
  morphology::Generation generated = morphology::generateForms(generation);
  if (!generated.error.empty()) {
    error = std::move(generated.error);
    return false;
  }
  for (const morphology::GeneratedForm& form : generated.forms) {
    DictionaryWord entry{form.word, {}};
    int variant = 1;
    for (const morphology::Phones& phones : form.pronunciations) {
      Pronunciation pronunciation{variant++, {}};
      for (const std::string& symbol : phones) {
        const auto phone = phoneFromArpabet(symbol);
        if (!phone) {
          error = "the form \"" + form.word + "\" made from \"" + form.base +
                  "\" has the bad phoneme \"" + symbol + "\"";
          return false;
        }
        pronunciation.phones.push_back(*phone);
      }
      entry.pronunciations.push_back(std::move(pronunciation));
    }
    inputs.dictionary.push_back(std::move(entry));
  }
  inputs.generatedForms = generated.forms.size();
  std::sort(inputs.dictionary.begin(), inputs.dictionary.end(),
            [](const DictionaryWord& a, const DictionaryWord& b) { return a.word < b.word; });
  return true;
}

}  // namespace

bool loadBuildInputs(const BuildSources& sources, BuildInputs& inputs, std::string& error) {
  if (!readPronouncingDictionary(sources.dictionary, inputs.dictionary, error)) {
    return false;
  }
  inputs.dictionaryEntries = inputs.dictionary.size();
  keyAsLookedUp(inputs.dictionary, inputs.unreachableEntries);
  for (const std::filesystem::path& list : sources.wordLists) {
    if (!readWordList(list, inputs.words, error)) {
      return false;
    }
  }
  std::vector<DataFile> files;
  if (sources.dataFolder) {
    if (!readDataFolder(sources.dataFolder->string(), files, error)) {
      return false;
    }
  } else {
    files = builtInDataFiles();
  }
  if (!applyCorrections(files, inputs.dictionary, error) ||
      !addInitialisms(files, inputs.words, inputs.dictionary, error) ||
      !addGeneratedForms(sources, files, inputs, error)) {
    return false;
  }
  EspeakNames espeakNames;
  if (sources.espeakNames &&
      !addEspeakNames(*sources.espeakNames, inputs.dictionary, inputs.words, espeakNames, error)) {
    return false;
  }
  if (!inputs.lists.load(files, inputs.dictionary, error)) {
    return false;
  }
  inputs.lists.setCommonWords(&inputs.words.lowerCaseEntries());
  const DataFile* heteronyms = findDataFile(files, "heteronyms.txt");
  if (!heteronyms) {
    error = "the data file heteronyms.txt is missing";
    return false;
  }
  if (!parseHeteronymList(heteronyms->text, heteronyms->name, inputs.heteronyms, error)) {
    return false;
  }
  if (std::string missing = inputs.heteronyms.missingWord(inputs.dictionary); !missing.empty()) {
    error = std::move(missing);
    return false;
  }
  // Every listed reading must exist before anything is written.
  WordReadings readings;
  for (const DictionaryWord& entry : inputs.dictionary) {
    if (inputs.heteronyms.contains(entry.word) &&
        !inputs.heteronyms.readingsOf(entry, readings.american, error)) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> spellingsIn(const BuildInputs& inputs, std::string_view word,
                                     const AccentTable& accent) {
  std::vector<std::string> spellings;
  const DictionaryWord* at = findEntry(inputs.dictionary, word);
  if (at == nullptr) {
    return spellings;
  }
  const WordPreparer preparer(inputs.dictionary, inputs.words, inputs.heteronyms, inputs.lists);
  WordReadings readings;
  std::string error;
  if (!preparer.readingsOf(*at, readings, error)) {
    return spellings;
  }
  std::vector<WordRow> rows;
  rowsInAccent(basesOf(at->word, readings, inputs.lists), NameUse::Common, profileOf(accent), rows);
  for (WordRow& row : rows) {
    spellings.push_back(std::move(row.zorvianWord));
  }
  return spellings;
}

std::string createTableStatement(std::string_view tableName) {
  // WITHOUT ROWID clusters the rows on the key, so the lookup and its MAX(word_version) are
  // searches of the table itself, already in weight order, and the file holds each row once.
  return "CREATE TABLE " + std::string(tableName) +
         " (english_word TEXT NOT NULL, zorvian_word TEXT NOT NULL, is_name INTEGER NOT NULL, "
         "word_weight INTEGER NOT NULL, word_version INTEGER NOT NULL, PRIMARY KEY (english_word, "
         "word_version, word_weight, zorvian_word, is_name)) WITHOUT ROWID;";
}

bool writeWordsDatabase(const std::filesystem::path& file, const BuildInputs& inputs,
                        BuildReport& report, std::string& error) {
  sqlite3* raw = nullptr;
  const int openCode =
      sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  Database db(raw);
  if (openCode != SQLITE_OK) {
    error = "cannot create " + file.string() + ": " + (raw ? sqlite3_errmsg(raw) : "out of memory");
    return false;
  }
  // The file is put in place only once it is complete, so a crash needs no journal.
  if (!execute(db.get(), "PRAGMA journal_mode=OFF;", error) ||
      !execute(db.get(), "PRAGMA synchronous=OFF;", error) || !execute(db.get(), "BEGIN;", error)) {
    return false;
  }
  std::array<Statement, 24> inserts;
  for (std::size_t t = 0; t < accentCatalog.size(); ++t) {
    const std::string table(accentCatalog[t].tableName);
    if (!execute(db.get(), createTableStatement(table), error)) {
      return false;
    }
    const std::string sql = "INSERT INTO " + table +
                            " (english_word, zorvian_word, is_name, word_weight, word_version) "
                            "VALUES (?1, ?2, ?3, ?4, ?5);";
    sqlite3_stmt* rawInsert = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &rawInsert, nullptr) != SQLITE_OK) {
      error = "SQLite cannot prepare \"" + sql + "\": " + sqlite3_errmsg(db.get());
      return false;
    }
    inserts[t].reset(rawInsert);
  }
  std::array<const AccentProfile*, 24> profiles{};
  for (std::size_t t = 0; t < accentCatalog.size(); ++t) {
    profiles[t] = &profileOf(accentCatalog[t]);
  }
  const WordPreparer preparer(inputs.dictionary, inputs.words, inputs.heteronyms, inputs.lists);
  WordReadings readings;
  std::vector<WordRow> rows;
  report.words = inputs.dictionary.size();
  for (const DictionaryWord& entry : inputs.dictionary) {
    if (!preparer.readingsOf(entry, readings, error)) {
      return false;
    }
    const WordBases bases = basesOf(entry.word, readings, inputs.lists);
    const NameUse nameUse = preparer.nameUseOf(entry.word);
    for (std::size_t t = 0; t < accentCatalog.size(); ++t) {
      rowsInAccent(bases, nameUse, *profiles[t], rows);
      if (!insertRows(db.get(), inserts[t].get(), entry.word, rows, error)) {
        return false;
      }
      report.rowsPerTable[t] += rows.size();
    }
  }
  for (Statement& insert : inserts) {
    insert.reset();
  }
  if (!execute(db.get(), "COMMIT;", error)) {
    return false;
  }
  if (sqlite3_close(db.release()) != SQLITE_OK) {
    error = "SQLite could not close " + file.string();
    return false;
  }
  return true;
}

bool buildWordsDatabase(const BuildSources& sources, const std::filesystem::path& output,
                        BuildReport& report, std::string& error) {
  const auto start = std::chrono::steady_clock::now();
  BuildInputs inputs;
  if (!loadBuildInputs(sources, inputs, error)) {
    return false;
  }
  // Built into a temporary file beside the output and put in place whole, so the output is never
  // a half-built database; the temporary file goes on every failure.
  AtomicFile building(output);
  if (!building.isOpen()) {
    error = "cannot create a temporary file beside " + output.string() + ": " + building.error();
    return false;
  }
  if (!writeWordsDatabase(building.temporaryPath(), inputs, report, error)) {
    return false;
  }
  if (!building.commit()) {
    error = "cannot put the database in place as " + output.string() + ": " + building.error();
    return false;
  }
  std::error_code ec;
  report.bytes = std::filesystem::file_size(output, ec);
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return true;
}

}  // namespace zrv::words_tool
