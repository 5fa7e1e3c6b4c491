// Puts a new control of class T on a parent at the given bounds, owned by
// `owner` (destroyed with it), with an optional caption: the steps a form's
// loading takes for each control, in the same order.
#pragma once

#include "framework/Controls.h"

#include <string>

template <typename T>
T* Place(TComponent* owner, TWinControl* parent, int left, int top, int width, int height,
         const std::string& caption = "") {
    auto control = new T(owner);
    control->SetBounds(left, top, width, height);
    if (!caption.empty()) control->SetCaption(caption);
    control->SetParent(parent);
    return control;
}
