#pragma once

#include "gui/editor/ToolDialog.h"

#include "gui/common/QtColor.h"
#include "gui/editor/HtmlFragments.h"

#include <memory>
#include <string>

namespace Ui {
class AddTextDialog;
}

namespace qloom::gui {

class MainWindowOps;

// "Add Text": formatted text with an optional font element, centred on request.
class AddTextDialog : public ToolDialog {
    Q_OBJECT
public:
    AddTextDialog(MainWindowOps& ops, QWidget* parent = nullptr);
    ~AddTextDialog() override;

    void setColorPicker(ColorPicker picker) { colorPicker_ = std::move(picker); }

    // Cleared each time the dialog opens; everything else keeps its last value.
    void clearEntries();
    // The fragment the current fields give.
    std::string fragment() const;

    void btnAddClick();
    void bitBtn2Click();
    void panColorClick();
    void chkDefaultFaceClick();
    void chkDefaultSizeClick();
    void chkDefaultColorClick();

private:
    std::unique_ptr<Ui::AddTextDialog> ui;
    ColorPicker colorPicker_;
};

} // namespace qloom::gui
