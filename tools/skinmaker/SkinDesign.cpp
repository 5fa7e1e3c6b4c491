#include "SkinDesign.h"

namespace design {

Rgb TitleColorAt(int row) { return Mix(kTitleTop, kTitleBottom, static_cast<double>(row) / (kTitleHeight - 1)); }

}  // namespace design
