#pragma once

#include <memory>

#include "sync/sha1/hashwrapper.h"
#include "sync/sha1/sha1_engine.h"

namespace zrv {

/// SHA-1 (FIPS 180-4) as a hash kind: the engine applied to the object's own context.
class sha1wrapper : public hashwrapper {
 public:
  sha1wrapper();
  ~sha1wrapper() override;

  std::string finishDigest() override;
  std::string digestToHex(const unsigned char* digest) override;
  void addToContext(const unsigned char* data, std::uint32_t count) override;
  void startContext() override;
  std::string selfTestDigest() override;

 private:
  std::unique_ptr<Sha1Engine> engine_;
  Sha1Context context_;
};

}  // namespace zrv
