// Header record of mechanism text: version, then the producing program.
#include "animator/app/ClipboardHeader.h"

#include <algorithm>

namespace quillon {

namespace {

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

int CheckHeader(shared::TTabLines& lines, const std::string& productWord, int formatVersion) {
  if (!lines.FindSection(productWord)) return -2;
  if (!lines.ReadLine()) return 0;
  const int version = lines.GetInt(-1);
  const std::string producer = lines.GetString("");
  if (version != formatVersion) return -3;
  return SameTextIgnoringCase(producer, kSynthesisProducer) ? 2 : 1;
}

}  // namespace quillon
