#pragma once

#include <curl/curl.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/console.h"
#include "sync/sha1/hashwrapper.h"
#include "words/lookup_cache.h"
#include "words/statement_handle.h"

namespace zrv {

/// Where the words repository is, and how long a stalled transfer may wait. Both are fixed when
/// the program is built; the program itself reads no configuration.
struct RepositorySettings {
  std::string baseUrl;     // e.g. "https://api.bitbucket.org", without a trailing slash
  long stallSeconds = 60;  // a transfer slower than 1 byte/s for this long fails
};

/// The record of one run. The driver creates it, every phase reads and writes it, and nothing of
/// it outlives the run. Each comment names the phase that sets the field.
struct RunState {
  RunState(Console& console, RepositorySettings repository)
      : console(console), repository(std::move(repository)) {}
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  Console& console;               // driver: the dialog's streams
  RepositorySettings repository;  // driver: the words repository of this build

  std::chrono::steady_clock::time_point startTime;  // prepareOutputAndStart
  std::chrono::steady_clock::time_point endTime;    // writeRunReport

  std::fstream textFileReader;  // selectInputFile: the input, opened for reading and writing
  std::ofstream outputWriter;   // prepareOutputAndStart: the transliterated text
  std::ofstream unknownWords;   // prepareOutputAndStart: the sorted unknown words

  sqlite3* database = nullptr;        // openWordsDatabase; closed by closeWordsDatabase
  std::string stringSqlStatement;     // countTableEntries, lookupWord: quoted in query reports
  StatementHandle result;             // countTableEntries, lookupWord: at most one at a time
  StatementWork statementWork;        // the work of the statement in result, so far
  LookupCache lookupCache;            // lookupWord: the rows of each key looked up
  std::vector<LookupRow> lookupRows;  // lookupWord: the rows of a statement being read

  std::string inputFileChoice;           // selectInputFile
  std::string inputFilePath;             // selectInputFile
  std::string customFileName;            // selectInputFile: names the result files
  std::string accentNumberChoice;        // chooseAccentAndNames
  std::string sqlTableToUse;             // chooseAccentAndNames: a catalog table name
  std::string transliterateNamesChoice;  // chooseAccentAndNames
  bool transliterateNames = false;       // chooseAccentAndNames

  // Counts of word occurrences can pass 2^32 on a huge input, so they are 64-bit.
  std::uint64_t warningCount = 0;         // transliterateSentence: could-not-find warnings
  std::set<std::string> unknownWordsSet;  // transliterateSentence: lower-cased unknown words

  std::ifstream dbFileReader;  // provisioning: the local database file
  std::ofstream dbFileWriter;  // provisioning: a downloaded database file

  CURL* curlHandle = nullptr;                  // provisioning; released before the phase returns
  CURLcode curlResult = CURLE_OK;              // provisioning: the latest transfer
  std::unique_ptr<hashwrapper> sha1Hasher;     // driver: the one digest object of the run
  std::string dbContents;                      // provisioning: bytes of the local database
  std::string curlResultHash;                  // provisioning: body of db_hash.sha1
  std::string curlResultDb;                    // provisioning: body of zrv_words.db
  std::string curlResultToolVersion;           // provisioning: body of tool_version.txt
  char curlErrorBuffer[CURL_ERROR_SIZE] = {};  // libcurl: error text of a failed transfer
  bool defaultingToLocalDb = false;            // provisioning
  bool newDbDownloaded = false;                // provisioning
  bool newerToolVersionAvailable = false;      // provisioning; read by the driver
  std::uint32_t retryNumber = 0;               // provisioning: the retry counter
  std::string newDbHash;                       // provisioning: digest of a first download
  std::string localDbHash;                     // provisioning: digest of the local file
  std::string downloadedDbHash;                // provisioning: digest of an update

  std::map<std::string, std::string> dbTableNamesToWordCountsMap;  // countTableEntries
  std::string currentTableWordCountString;                         // countTableEntries
  std::string finalOutputFileName;                                 // prepareOutputAndStart
  std::string finalUnknownWordsFileName;                           // prepareOutputAndStart
  // Character counts are 64-bit so that an input of 4 GiB or more does not wrap.
  std::uint64_t totalCharacters = 0;  // prepareOutputAndStart
  std::string keyPressed;             // prepareOutputAndStart
  double secondsTaken = 0.0;          // writeRunReport

  // Working fields of the sentence reader (transliterateInput).
  double progressStep = 0.0;
  std::uint64_t charactersRead = 0;
  std::uint64_t nextProgressLineAt = 0;  // the count at which the next step's line is due
  char currentCharacter = '\0';
  std::string currentSentence;

  // Working fields of the word scanner (transliterateSentence), per sentence and per word.
  std::string currentWord;
  std::string currentZrvWord;
  std::uint64_t positionInSentence = 0;  // 1-based byte position of the byte being scanned
  char sentenceCharacter = '\0';
  bool transliterationFound = false;
  bool firstLetterIsUpperCase = false;
  bool lastLetterIsUpperCase = false;
  std::string currentWordWithoutSingleEdgeQuotes;
  bool hasLeadingApostrophe = false;
  bool hasTrailingApostrophe = false;
  std::string currentWordLowerCaseAndEscaped;  // the lookup key
  bool nameFound = false;
  std::map<std::string, std::string> zrvWordOptionsMap;  // "1", "2", ... to candidate
  std::set<std::string> zrvTransliterationsFoundForCurrentWord;
  int optionNumber = 1;
  std::string userTransliterationSelection;
  // The nodes of the previous word's options, reused so that a word costs no allocation.
  std::vector<std::map<std::string, std::string>::node_type> spareOptionNodes;
  std::vector<std::set<std::string>::node_type> spareFoundNodes;

  // Working fields of the choice prompt (chooseTransliteration).
  std::string currentSentenceWithArrows;

  // Working field of the run report (writeRunReport).
  std::string unknownWord;
};

}  // namespace zrv
