#include "LinkNames.h"

namespace kv90host {

MessageIds registerLinkMessages() {
    MessageIds ids;
    ids.active = RegisterWindowMessageW(kActiveMessageName);
    ids.finger = RegisterWindowMessageW(kFingerMessageName);
    return ids;
}

const char* notificationName(WPARAM code) {
    switch (code) {
    case kCodeReady:
        return "READY";
    case kCodeCollected:
        return "COLLECTED";
    case kCodeClose:
        return "CLOSE";
    default:
        return "UNKNOWN";
    }
}

}  // namespace kv90host
