#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zrv {

/// The operations every hash kind offers. The text, file and self-test operations are written once
/// here, on top of the five operations a hash kind supplies; they start, feed and finish the
/// context in that order, so consecutive digests on one object are independent.
class hashwrapper {
 public:
  hashwrapper();
  hashwrapper(const hashwrapper&) = delete;
  hashwrapper& operator=(const hashwrapper&) = delete;

  /// The digest text of the bytes added since startContext.
  virtual std::string finishDigest() = 0;
  /// The 40-character lower-case hex text of a 20-byte digest.
  virtual std::string digestToHex(const unsigned char* digest) = 0;
  /// Adds `count` bytes to the running context.
  virtual void addToContext(const unsigned char* data, std::uint32_t count) = 0;
  /// Starts a new context, dropping whatever the last one held.
  virtual void startContext() = 0;
  /// The known digest of selfTestText.
  virtual std::string selfTestDigest() = 0;
  virtual ~hashwrapper();

  /// Digests selfTestText; throws hlException code 2 when the result is not selfTestDigest().
  virtual void selfTest();
  /// The digest text of every byte of `text`, zero bytes included. Never throws.
  virtual std::string digestOfString(std::string text);
  /// The digest text of the file's bytes; throws hlException code 1 when it cannot be read.
  virtual std::string digestOfFile(std::string fileName);

  /// As digestOfString, on bytes the caller keeps: a large text (a whole words database) is
  /// digested where it lies instead of being copied first. Never throws.
  std::string digestOfView(std::string_view bytes);

 protected:
  std::string selfTestText;
};

}  // namespace zrv
