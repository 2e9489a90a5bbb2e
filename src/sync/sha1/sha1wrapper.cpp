#include "sync/sha1/sha1wrapper.h"

#include <iomanip>
#include <sstream>

namespace zrv {

sha1wrapper::sha1wrapper() : engine_(std::make_unique<Sha1Engine>()), context_{} {}

sha1wrapper::~sha1wrapper() = default;

std::string sha1wrapper::finishDigest() {
  // Zeroed so that a corrupted context, which gives no bytes, still yields a defined text.
  unsigned char messageDigest[20] = {};
  engine_->result(&context_, messageDigest);
  return digestToHex(messageDigest);
}

std::string sha1wrapper::digestToHex(const unsigned char* digest) {
  std::ostringstream os;
  for (int i = 0; i < 20; ++i) {
    os << std::setw(2) << std::setfill('0') << std::hex << static_cast<unsigned int>(digest[i]);
  }
  return os.str();
}

void sha1wrapper::addToContext(const unsigned char* data, std::uint32_t count) {
  engine_->input(&context_, data, count);
}

void sha1wrapper::startContext() {
  engine_->reset(&context_);
}

std::string sha1wrapper::selfTestDigest() {
  return "2fd4e1c67a2d28fced849ee1bb76e7391b93eb12";
}

}  // namespace zrv
