// A limit on the size of the files this process writes, as `ulimit -f` sets one, for as long as it
// lives; the signal that would end the process at the limit is ignored, as the programs ignore it.
#pragma once

#include <sys/resource.h>

#include "shared/FilePath.h"

namespace shared::test {

class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    shared::IgnoreFileSizeSignal();
    ::getrlimit(RLIMIT_FSIZE, &fSaved);
    rlimit limit = fSaved;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &fSaved); }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  rlimit fSaved{};
};

}  // namespace shared::test
