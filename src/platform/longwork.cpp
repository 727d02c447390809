#include "platform/longwork.h"

#include <utility>

namespace platform {
namespace {

int g_depth = 0;

LongWorkHooks& Hooks() {
  static LongWorkHooks hooks;
  return hooks;
}

void Call(const std::function<void()>& f) {
  if (f) f();
}

}  // namespace

LongWork::LongWork() {
  if (g_depth++ == 0) Call(Hooks().begin);
}

LongWork::~LongWork() {
  if (--g_depth == 0) Call(Hooks().end);
}

void LongWorkTick() {
  if (g_depth > 0) Call(Hooks().tick);
}

bool InLongWork() { return g_depth > 0; }

void SetLongWorkHooks(LongWorkHooks hooks) { Hooks() = std::move(hooks); }

}  // namespace platform
