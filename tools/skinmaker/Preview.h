// A picture of a window drawn from the skin, composed the way the engine
// composes frames and controls, to judge the skin by eye.
#pragma once

#include "Canvas.h"
#include "SkinContents.h"

Canvas DrawPreview(const SkinContents& skin);
