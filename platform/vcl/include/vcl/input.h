// User actions: what a click, a key or a drag does, run through the
// application's dispatch so focus rules, key rules and the default exception
// handling apply. Both the screen and the tests' user simulator call these.
#pragma once

#include "vcl/stdctrls.h"

namespace vcl::input {

// A press and release of the left button on a control: focus first, then the click.
void Click(TControl& control);
// Down, up and click, then the double click with its second down and up.
void DoubleClick(TControl& control, int x, int y);
// The second press of a double click: the double click, then its mouse down.
void DoublePress(TControl& control, int x, int y);
void MouseDown(TControl& control, TMouseButton button, int x, int y);
void MouseMove(TControl& control, int x, int y);
void MouseUp(TControl& control, TMouseButton button, int x, int y);
void Key(TForm& form, TKey key);
void Focus(TWinControl& control);
// Focuses the edit and replaces its text.
void Type(TEdit& edit, const AnsiString& text);
// One position of a scroll bar's drag (or an arrow or page step).
void Scroll(TScrollBar& bar, int position);
void Pick(TComboBox& combo, int index);
void Pick(TRadioGroup& group, int index);
void Pick(TDriveComboBox& drives, int index);
void SelectPage(TPageControl& pages, TTabSheet& page);
void OpenFolder(TDirectoryListBox& list, int index);
// The close box of a form.
void CloseBox(TForm& form);

}  // namespace vcl::input
