// What the screen shows, for the tests that look at it.
#pragma once

#include "vcl/forms.h"

#include <vector>

class QSystemTrayIcon;
class QWidget;

namespace vcl::qt {

// The widget a control is shown as (a form's top-level window); null while
// the control is not on the screen.
QWidget* PeerWidget(const TControl& control);
// Where a form's controls stand and its surface is shown.
QWidget* ClientAreaWidget(const TForm& form);
std::vector<QSystemTrayIcon*> NotificationIcons();

}  // namespace vcl::qt
