#include "command_line.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iomanip>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "database_builder.h"
#include "publisher.h"
#include "reports.h"
#include "static_server.h"
#include "words/accent_catalog.h"

#ifndef ZRV_TOOL_VERSION
#error "ZRV_TOOL_VERSION must name the version that publish writes"
#endif

namespace zrv::words_tool {
namespace {

constexpr int kDefaultPort = 47700;

struct Options {
  std::map<std::string, std::string> values;
  bool help = false;
};

// Reads "--name VALUE" and "--name=VALUE" pairs; every option takes a value except --help.
bool parseOptions(const std::vector<std::string>& arguments, const std::set<std::string>& known,
                  Options& options, std::string& error) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    std::string name = arguments[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    std::optional<std::string> value;
    if (const std::size_t equals = name.find('='); equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (!known.contains(name)) {
      error = "unknown option '" + name + "' for " + arguments[0];
      return false;
    }
    if (!value) {
      if (i + 1 >= arguments.size()) {
        error = "the option " + name + " needs a value";
        return false;
      }
      value = arguments[++i];
    }
    options.values[name] = *value;
  }
  return true;
}

std::string valueOr(const Options& options, const std::string& name, std::string fallback) {
  const auto found = options.values.find(name);
  return found == options.values.end() ? fallback : found->second;
}

int usageError(std::ostream& err, const std::string& error) {
  err << "zorvian-words: " << error << "\nTry 'zorvian-words --help'." << std::endl;
  return kStatusUsage;
}

int failed(std::ostream& err, const std::string& error) {
  err << "zorvian-words: " << error << std::endl;
  return kStatusFailed;
}

std::vector<std::string> splitList(std::string_view list) {
  std::vector<std::string> items;
  while (!list.empty()) {
    const std::size_t comma = std::min(list.find(','), list.size());
    items.emplace_back(list.substr(0, comma));
    list.remove_prefix(std::min(comma + 1, list.size()));
  }
  return items;
}

BuildSources sourcesOf(const Options& options) {
  BuildSources sources;
  sources.dictionary = valueOr(options, "--dictionary", sources.dictionary.string());
  if (options.values.contains("--word-lists")) {
    sources.wordLists.clear();
    for (const std::string& list : splitList(options.values.at("--word-lists"))) {
      sources.wordLists.emplace_back(list);
    }
  }
  if (options.values.contains("--data")) {
    sources.dataFolder = options.values.at("--data");
  }
  if (options.values.contains("--letter-to-sound")) {
    const std::string& rules = options.values.at("--letter-to-sound");
    sources.letterToSoundRules = rules == "none" ? std::nullopt : std::optional(rules);
  }
  if (options.values.contains("--large-word-list")) {
    const std::string& list = options.values.at("--large-word-list");
    sources.largeWordList = list == "none" ? std::nullopt : std::optional(list);
  }
  if (options.values.contains("--names-from-espeak")) {
    const std::string& names = options.values.at("--names-from-espeak");
    sources.espeakNames = names == "none" ? std::nullopt : std::optional(names);
  }
  return sources;
}

int report(const Options& options, std::ostream& out, std::ostream& err) {
  const std::string what = valueOr(options, "--what", "collisions");
  if (what != "collisions" && what != "coverage" && what != "sets") {
    return usageError(err, "--what takes collisions, coverage or sets, not '" + what + "'");
  }
  BuildInputs inputs;
  std::string error;
  if (!loadBuildInputs(sourcesOf(options), inputs, error)) {
    return failed(err, error);
  }
  if (what == "sets") {
    printLexicalSetTable(inputs, out);
    return kStatusDone;
  }
  std::vector<std::vector<std::string>> texts;
  const std::vector<std::string> names =
      splitList(valueOr(options, "--texts", "/usr/share/common-licenses/GPL-3"));
  for (const std::string& name : names) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
      return failed(err, "cannot read the text " + name);
    }
    texts.push_back(lookupKeysOf(text.str(), true));
  }
  if (what == "coverage") {
    for (std::size_t t = 0; t < texts.size(); ++t) {
      const Coverage coverage = coverageOf(inputs, texts[t]);
      out << names[t] << ": " << coverage.known << " of " << coverage.tokens << " word tokens ("
          << std::fixed << std::setprecision(2)
          << (coverage.tokens ? 100.0 * static_cast<double>(coverage.known) /
                                    static_cast<double>(coverage.tokens)
                              : 100.0)
          << "%)" << std::endl;
      std::vector<std::pair<std::size_t, std::string>> missing;
      for (const auto& [word, count] : coverage.missing) {
        missing.emplace_back(count, word);
      }
      std::sort(missing.begin(), missing.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
      });
      out << "  missing:";
      for (std::size_t m = 0; m < missing.size() && m < 40; ++m) {
        out << " " << missing[m].second << " " << missing[m].first;
      }
      out << std::endl;
    }
    return kStatusDone;
  }
  const std::size_t unexplained =
      printCollisionReport(inputs, ordinaryWords(inputs, texts), 20, out);
  return unexplained == 0 ? kStatusDone : kStatusFailed;
}

int build(const Options& options, std::ostream& out, std::ostream& err) {
  const BuildSources sources = sourcesOf(options);
  const std::filesystem::path output = valueOr(options, "--output", "zrv_words.db");
  BuildReport report;
  std::string error;
  if (!buildWordsDatabase(sources, output, report, error)) {
    return failed(err, error);
  }
  out << "Built " << output.string() << " from " << report.words << " words in " << std::fixed
      << std::setprecision(1) << report.seconds << " s: " << report.bytes << " bytes." << std::endl;
  for (std::size_t t = 0; t < accentCatalog.size(); ++t) {
    out << "  " << std::left << std::setw(32) << accentCatalog[t].tableName << std::right
        << std::setw(8) << report.rowsPerTable[t] << " rows" << std::endl;
  }
  return kStatusDone;
}

int publish(const Options& options, std::ostream& out, std::ostream& err) {
  if (!options.values.contains("--root")) {
    return usageError(err, "publish needs --root DIR");
  }
  const std::filesystem::path database = valueOr(options, "--database", "zrv_words.db");
  PublishReport report;
  std::string error;
  if (!publishWordsDatabase(database, options.values.at("--root"),
                            valueOr(options, "--tool-version", ZRV_TOOL_VERSION), report, error)) {
    return failed(err, error);
  }
  out << "Published " << database.string() << " in " << report.folder.string() << " (SHA-1 "
      << report.digest << ")." << std::endl;
  return kStatusDone;
}

int serve(const Options& options, std::ostream& out, std::ostream& err) {
  if (!options.values.contains("--root")) {
    return usageError(err, "serve needs --root DIR");
  }
  const std::string portText = valueOr(options, "--port", std::to_string(kDefaultPort));
  int port = -1;
  const char* last = portText.data() + portText.size();
  const auto [end, ec] = std::from_chars(portText.data(), last, port);
  if (ec != std::errc() || end != last || port < 0 || port > 65535) {
    return usageError(err, "--port needs a number from 0 to 65535, not '" + portText + "'");
  }
  return serveUntilSignalled(options.values.at("--root"), port, out, err);
}

}  // namespace

std::string helpText() {
  return "Usage: zorvian-words <command> [options]\n"
         "\n"
         "Makes, publishes and serves the words database of the Zorvian Transliteration Tool.\n"
         "\n"
         "Commands:\n"
         "  build     Build zrv_words.db: the 24 accent tables, from a pronouncing dictionary\n"
         "            and a word list.\n"
         "      --dictionary FILE   CMU pronouncing dictionary 0.7b with stress digits\n"
         "                          (default npm's cmu-pronouncing-dictionary, as\n"
         "                          scripts/install-deps.sh installs it)\n"
         "      --word-lists F,F    word lists that tell names from common words, American\n"
         "                          first (default /usr/share/dict/american-english,\n"
         "                          british-english)\n"
         "      --data DIR          a folder of data lists that replace the built-in ones\n"
         "                          of the same name (bath.txt, heteronyms.txt, ...)\n"
         "      --letter-to-sound F festival's letter-to-sound rules for the list words no\n"
         "                          rule derives (default none), e.g.\n"
         "                          /usr/share/festival/dicts/cmu/cmu_lts_rules.scm\n"
         "      --names-from-espeak F\n"
         "                          espeak-ng's pronunciation for the names of this list\n"
         "                          that the dictionary lacks, or none (default\n"
         "                          /usr/share/dict/american-english-huge)\n"
         "      --large-word-list F a larger list whose lower-case words get a form where\n"
         "                          an inflection, re-, sub-, non-, -or or -ability\n"
         "                          derives them from an entry, or none (default\n"
         "                          /usr/share/dict/american-english-huge)\n"
         "      --output FILE       database to write (default zrv_words.db)\n"
         "  publish   Lay out a repository folder: <root>/" +
         std::string(kRepositoryFolder) +
         "/\n"
         "            with zrv_words.db, its precompressed copies zrv_words.db.br and\n"
         "            zrv_words.db.gz, db_hash.sha1 and tool_version.txt.\n"
         "      --root DIR          repository folder (required)\n"
         "      --database FILE     database to publish (default zrv_words.db)\n"
         "      --tool-version TEXT tool version to publish (default " ZRV_TOOL_VERSION
         ")\n"
         "  report    Report on the words data without building it.\n"
         "      --what WHAT         collisions (default): per accent, the ordinary words\n"
         "                          spelled alike with different base pronunciations, each\n"
         "                          explained by a merger of the accent or listed as\n"
         "                          unexplained (exit status 1 when there is one);\n"
         "                          coverage: the share of the texts' words the tables know;\n"
         "                          sets: Wells' keywords as each accent writes them\n"
         "      --texts F,F         the texts whose words count (default\n"
         "                          /usr/share/common-licenses/GPL-3)\n"
         "      --dictionary, --word-lists, --data  as for build\n"
         "  serve     Serve a repository folder over HTTP on 127.0.0.1 until SIGINT or SIGTERM.\n"
         "            A precompressed copy goes to a client that accepts its encoding.\n"
         "      --root DIR          repository folder (required)\n"
         "      --port N            port; 0 picks a free one (default " +
         std::to_string(kDefaultPort) +
         ")\n"
         "\n"
         "  -h, --help    Show this help.\n"
         "\n"
         "Exit status: 0 done, 1 the command failed, 2 the command line was not understood.\n";
}

int runWordsTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.empty()) {
    return usageError(err, "no command given");
  }
  const std::string& command = arguments.front();
  if (command == "--help" || command == "-h" || command == "help") {
    out << helpText();
    return kStatusDone;
  }
  const std::map<std::string, std::set<std::string>> knownOptions = {
      {"build",
       {"--dictionary", "--word-lists", "--data", "--letter-to-sound", "--names-from-espeak",
        "--large-word-list", "--output"}},
      {"publish", {"--root", "--database", "--tool-version"}},
      {"serve", {"--root", "--port"}},
      {"report",
       {"--what", "--texts", "--dictionary", "--word-lists", "--data", "--letter-to-sound",
        "--names-from-espeak", "--large-word-list"}},
  };
  const auto known = knownOptions.find(command);
  if (known == knownOptions.end()) {
    return usageError(err, "unknown command '" + command + "'");
  }
  Options options;
  std::string error;
  if (!parseOptions(arguments, known->second, options, error)) {
    return usageError(err, error);
  }
  if (options.help) {
    out << helpText();
    return kStatusDone;
  }
  if (command == "build") {
    return build(options, out, err);
  }
  if (command == "publish") {
    return publish(options, out, err);
  }
  if (command == "report") {
    return report(options, out, err);
  }
  return serve(options, out, err);
}

}  // namespace zrv::words_tool
