// The image viewer: one captured finger, enlarged or reduced in steps.
#pragma once

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"

#include <string>

class TFrm_ImageEdit : public TForm {
    KV90_CLASS(TFrm_ImageEdit, TForm)
public:
    explicit TFrm_ImageEdit(TComponent* owner);

    // Shows the JPEG file at its own size; raises when it cannot be read or decoded.
    void LoadJpgFile(const std::string& path);
    void ZoomImage(float factor);
    float ZoomFactor() const { return zoomFactor_; }

    // event handlers
    void FormCreate(TObject* sender);
    void ToolButton5Click(TObject* sender);
    void ToolButton2Click(TObject* sender);
    void ToolButton3Click(TObject* sender);
    void ToolButton20Click(TObject* sender);
    void FormKeyDown(TObject* sender, WORD& key);

    // components
    TImageList* ImageList2;
    TToolBar* ToolBar1;
    TToolButton* ToolButton5;
    TToolButton* ToolButton2;
    TToolButton* ToolButton3;
    TToolButton* ToolButton19;
    TToolButton* ToolButton20;
    TPanel* Panel5;
    TScrollBox* ScrollBox1;
    TImage* Image_Source;
    TImage* Image_Order;

private:
    void BuildControls();
    float zoomFactor_ = 1.0f;
};

// Draws the viewer's sixteen-pixel tool icons into the list, in index order.
void AddViewerIcons(TImageList& list);
