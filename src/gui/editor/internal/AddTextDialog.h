#pragma once

#include "gui/editor/internal/ToolDialog.h"

#include "gui/common/QtColor.h"
#include "gui/editor/internal/HtmlFragments.h"

#include <memory>
#include <string>

namespace Ui {
class AddTextDialog;
}

namespace qloom::gui {

class ProjectSessionApi;

// "Add Text": formatted text with an optional font element, centred on request.
class AddTextDialog : public ToolDialog {
    Q_OBJECT
public:
    AddTextDialog(ProjectSessionApi& session, QWidget* parent = nullptr);
    ~AddTextDialog() override;

    void setColorPicker(ColorPicker picker) { colorPicker_ = std::move(picker); }

    // Cleared each time the dialog opens; everything else keeps its last value.
    void clearEntries();
    // The fragment the current fields give.
    std::string fragment() const;

    void onAddClicked();
    void onCancelClicked();
    void onColorClicked();
    void onDefaultFontToggled();
    void onDefaultSizeToggled();
    void onDefaultColorToggled();

private:
    std::unique_ptr<Ui::AddTextDialog> ui;
    ColorPicker colorPicker_;
};

} // namespace qloom::gui
