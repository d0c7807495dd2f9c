// Places a control of a form as a form file does: owned by the form, on its
// parent, at its designed bounds, under its form name.
#pragma once

#include "vcl/stdctrls.h"

template <class T>
T* Place(vcl::TForm& form, vcl::TWinControl* parent, const char* name, int left, int top, int width, int height) {
    auto* control = new T(&form);
    control->Name = name;
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}
