#pragma once

#include "gui/editor/internal/ToolDialog.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace Ui {
class AddImageDialog;
}

namespace qloom::gui {

class ProjectSessionApi;

// "Add Image": an image element naming the picture by its bare file name; the picture is copied
// into the project folder so the page finds it.
class AddImageDialog : public ToolDialog {
    Q_OBJECT
public:
    AddImageDialog(ProjectSessionApi& session, QWidget* parent = nullptr);
    ~AddImageDialog() override;

    void clearEntries();

    void resetControls();
    void onAddClicked();
    void onCancelClicked();
    void onChooseFileClicked();

private:
    // "Add" is enabled once the picture has its alternative text or is marked decorative; its
    // tooltip says what is missing.
    void updateAddButton();

    std::unique_ptr<Ui::AddImageDialog> ui;
    ProjectSessionApi& session_;
};

} // namespace qloom::gui
