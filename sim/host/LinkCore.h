// The simulator plays the host with the same host half of the link as the
// control does; these are the pieces of it the simulator uses by name.
#pragma once
#include "CaptureBlock.h"
#include "CaptureMessages.h"
#include "HostBlock.h"
#include "LinkNames.h"
#include "StationProcess.h"
#include "TextCodec.h"

namespace hostsim {

using kv90host::CaptureBlockContent;
using kv90host::Delivery;
using kv90host::fromAnsi;
using kv90host::fromUtf8OrAnsi;
using kv90host::HostBlock;
using kv90host::kBlockMinimumSize;
using kv90host::kCaptureBlockName;
using kv90host::kCodeClose;
using kv90host::kCodeCollected;
using kv90host::kCodeReady;
using kv90host::kHostBlockName;
using kv90host::MessageIds;
using kv90host::notificationName;
using kv90host::parseWindowHandle;
using kv90host::personPayload;
using kv90host::postCommand;
using kv90host::readCaptureBlock;
using kv90host::sendCommand;
using kv90host::sendCopyData;
using kv90host::toAnsi;
using kv90host::toUtf8;
using kv90host::windowHandleText;
// The capture program the simulator starts is the station's process as any host holds it.
using ChildProcess = kv90host::StationProcess;

}  // namespace hostsim
