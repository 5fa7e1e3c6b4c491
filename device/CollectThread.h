// The capture thread: fetches frames back to back for as long as the capture
// window is open, watches for a finger, has the mosaic library stitch the
// rolled finger image and keeps the preview image showing it.
#pragma once

#include "common/RepeatedLog.h"
#include "framework/Thread.h"

#include <string>

class TImage;

class TCollectThread : public TThread {
    KV90_CLASS(TCollectThread, TThread)
public:
    // Prepares the capture window size and the roll mode on the device and
    // makes the thread suspended. When the device refuses either, the
    // operator is told and no thread is made, so starting it fails.
    explicit TCollectThread(TImage* previewImage);

protected:
    void Execute() override;

private:
    void MosaicStep(bool& mosaicStarted);
    void ReportLostDevice(int result);
    // The preview changes are made on the GUI thread, in the order the loop makes them.
    void ClearPreview();
    void ShowPreviewFile();

    TImage* previewImage_;
    std::string previewPath_;  // made once, so that the loop allocates nothing per frame
    TRepeatedLog log_;         // the loop's failures, which may repeat on every frame
};
