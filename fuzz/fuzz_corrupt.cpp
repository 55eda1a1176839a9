#include "fuzz_corrupt.h"

#include "startup/corrupt_installer.h"

namespace brennick {

void CorruptInstaller(int code) { throw fuzz::Corrupt{code}; }

}  // namespace brennick
