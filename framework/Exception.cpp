#include "framework/Exception.h"

std::string ExceptionMessage(const std::exception& e) {
    if (auto own = dynamic_cast<const Exception*>(&e)) return own->Message();
    return e.what();
}
