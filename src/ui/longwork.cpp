#include "ui/longwork.h"

#include "ui/application.h"

namespace ui {
namespace {

int g_depth = 0;

}  // namespace

LongWork::LongWork() {
  if (g_depth++ == 0)
    if (Backend* b = CurrentBackend()) b->LongWorkBegin();
}

LongWork::~LongWork() {
  if (--g_depth == 0)
    if (Backend* b = CurrentBackend()) b->LongWorkEnd();
}

void LongWorkTick() {
  if (g_depth > 0)
    if (Backend* b = CurrentBackend()) b->LongWorkTick();
}

bool InLongWork() { return g_depth > 0; }

}  // namespace ui
