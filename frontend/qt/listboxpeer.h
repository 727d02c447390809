// The Qt counterpart of ui::ListBox: a QListView over a model that reads the
// list box's lines only for the rows on screen, so a list of hundreds of
// thousands of lines opens at once.
#pragma once

#include <memory>

#include "qt/peers.h"
#include "ui/listbox.h"

namespace qtfront {

std::unique_ptr<Peer> MakeListBoxPeer(FormWindow& window, ui::ListBox& list, QWidget* parent);

}  // namespace qtfront
