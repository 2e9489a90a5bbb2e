#include "publisher.h"

#include <fstream>
#include <system_error>

#include "sync/sha1/hl_exception.h"
#include "sync/sha1/sha1wrapper.h"

namespace zrv::words_tool {
namespace {

std::filesystem::path publishingPath(const std::filesystem::path& file) {
  std::filesystem::path temporary = file;
  temporary += ".publishing";
  return temporary;
}

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to,
                std::string& error) {
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  if (ec) {
    error = "cannot rename " + from.string() + " to " + to.string() + ": " + ec.message();
    std::filesystem::remove(from, ec);
    return false;
  }
  return true;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         std::string& error) {
  const std::filesystem::path temporary = publishingPath(file);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      error = "cannot write " + temporary.string();
      std::error_code ec;
      std::filesystem::remove(temporary, ec);
      return false;
    }
  }
  return renameOver(temporary, file, error);
}

bool publishWordsDatabase(const std::filesystem::path& database, const std::filesystem::path& root,
                          std::string_view toolVersion, PublishReport& report, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(database, ec)) {
    error = "no database to publish at " + database.string();
    return false;
  }
  report.folder = root / kRepositoryFolder;
  std::filesystem::create_directories(report.folder, ec);
  if (ec) {
    error = "cannot create " + report.folder.string() + ": " + ec.message();
    return false;
  }
  const std::filesystem::path published = report.folder / kDatabaseFileName;
  const std::filesystem::path copy = publishingPath(published);
  std::filesystem::copy_file(database, copy, std::filesystem::copy_options::overwrite_existing, ec);
  if (ec) {
    error = "cannot copy " + database.string() + " to " + copy.string() + ": " + ec.message();
    std::filesystem::remove(copy, ec);
    return false;
  }
  // The digest is taken of the copy itself, so it names exactly the bytes a reader gets.
  try {
    sha1wrapper sha1;
    report.digest = sha1.digestOfFile(copy.string());
  } catch (const hlException& failure) {
    error = failure.errorText;
    std::filesystem::remove(copy, ec);
    return false;
  }
  return renameOver(copy, published, error) &&
         writeFileAtomically(report.folder / kToolVersionFileName, std::string(toolVersion) + "\n",
                             error) &&
         writeFileAtomically(report.folder / kDigestFileName, report.digest + "\n", error);
}

}  // namespace zrv::words_tool
