#pragma once

#include "gui/editor/internal/ToolDialog.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace Ui {
class AddLinkDialog;
}

namespace qloom::gui {

class ProjectSessionApi;

// "Add URL": a link around some inner HTML, with an optional target.
class AddLinkDialog : public ToolDialog {
    Q_OBJECT
public:
    AddLinkDialog(ProjectSessionApi& session, QWidget* parent = nullptr);
    ~AddLinkDialog() override;

    void clearEntries();
    std::string fragment() const;

    void resetControls();
    void onAddClicked();
    void onCancelClicked();
    void onChooseFileClicked();

private:
    std::unique_ptr<Ui::AddLinkDialog> ui;
};

} // namespace qloom::gui
