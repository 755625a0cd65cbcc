// The main window: file browser, preview and the wallpaper commands.
#pragma once

#include "ui/Form.h"

namespace pelmira {

class TQMMain : public TForm {
public:
    explicit TQMMain(TApplication& app);
    void CreateWindowAndControls();
};

} // namespace pelmira
