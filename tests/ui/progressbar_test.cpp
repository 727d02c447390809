// The progress bar of the component model: its position stays inside its
// range, and a change tells the front end.
#include <gtest/gtest.h>

#include "ui/form.h"
#include "ui/progressbar.h"

namespace {

struct CountingPeer : ui::ViewPeer {
  int syncs = 0;
  void Sync() override { ++syncs; }
};

TEST(ProgressBar, ThePositionStaysInsideTheRange) {
  ui::Form form("F", "TF");
  ui::ProgressBar bar(&form, "ProgressBar1");
  CountingPeer peer;
  bar.AttachPeer(&peer);
  EXPECT_EQ(bar.GetKind(), ui::Kind::ProgressBar);
  struct Case {
    int min, max, position;
    int expectedMax, expectedPosition;
  } cases[] = {
      {0, 200, 150, 200, 150},
      {0, 200, 250, 200, 200},
      {10, 20, 5, 20, 10},
      {5, 1, 3, 5, 5},  // a maximum below the minimum becomes the minimum
  };
  for (const auto& c : cases) {
    bar.SetRange(c.min, c.max);
    bar.SetPosition(c.position);
    EXPECT_EQ(bar.Min(), c.min);
    EXPECT_EQ(bar.Max(), c.expectedMax);
    EXPECT_EQ(bar.Position(), c.expectedPosition);
  }
  bar.SetRange(0, 100);
  bar.SetPosition(40);
  const int before = peer.syncs;
  bar.SetPosition(40);
  EXPECT_EQ(peer.syncs, before);
  bar.SetRange(0, 30);  // the position follows a smaller range
  EXPECT_EQ(bar.Position(), 30);
  EXPECT_GT(peer.syncs, before);
  bar.AttachPeer(nullptr);
}

}  // namespace
