#include "forms/ImageEdit.h"
#include "framework/SysUtils.h"
#include "images/ImgOper.h"

#include <memory>

void TImgOper::ShowImage(const std::string& path) {
    if (!FileExists(path)) return;
    // The viewer is freed when it closes, also when loading it raised.
    std::unique_ptr<TFrm_ImageEdit> viewer(new TFrm_ImageEdit(Application));
    viewer->LoadJpgFile(path);
    viewer->ShowModal();
}
