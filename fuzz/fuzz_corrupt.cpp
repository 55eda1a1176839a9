#include "fuzz_corrupt.h"

#include "package/corrupt_installer.h"

namespace brennick {

void CorruptInstaller(int code) { throw fuzz::Corrupt{code}; }

}  // namespace brennick
