// The peers of the standard controls, one kind each.
#pragma once

#include "peer.h"

namespace vcl::qt {

// The peer of any control but a form, as a child widget of `parent`.
Peer* MakeControlPeer(ScreenBackend& screen, TControl& control, QWidget* parent);

}  // namespace vcl::qt
