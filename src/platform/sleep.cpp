#include "platform/sleep.h"

#include <chrono>
#include <thread>
#include <utility>

namespace platform {
namespace {

Sleeper& Installed() {
  static Sleeper s;
  return s;
}

}  // namespace

void SleepMilliseconds(int ms) {
  if (Installed()) {
    Installed()(ms);
    return;
  }
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Sleeper SetSleeper(Sleeper s) { return std::exchange(Installed(), std::move(s)); }

}  // namespace platform
