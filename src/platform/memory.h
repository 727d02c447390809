// Memory hints to the operating system, for buffers of many megabytes that
// a program fills once and keeps (a text of hundreds of thousands of lines
// built in memory before it is saved).
//
// Rules: a hint never changes what the memory holds or whether a call
// succeeds; where the system does not take it, it does nothing.
#pragma once

#include <cstddef>

namespace platform {

// Asks that the untouched memory [data, data + size) be backed by large
// pages when it is first written: one fault per 2 MiB instead of one per
// 4 KiB. Only the whole 2 MiB ranges inside it are affected.
void PreferLargePages(void* data, std::size_t size);

}  // namespace platform
