#include "platform/memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace platform {

void PreferLargePages(void* data, std::size_t size) {
  constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t from = (start + kLarge - 1) & ~(kLarge - 1);
  const std::uintptr_t to = (start + size) & ~(kLarge - 1);
#ifdef MADV_HUGEPAGE
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);  // a hint: failure is ignored
#else
  (void)from;
  (void)to;
#endif
}

}  // namespace platform
