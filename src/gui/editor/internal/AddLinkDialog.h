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
    // Asks for an existing file, starting in `folder`; an empty result is a cancel.
    using FilePicker = std::function<QString(QWidget* parent, const QString& folder)>;

    AddLinkDialog(ProjectSessionApi& session, QWidget* parent = nullptr);
    ~AddLinkDialog() override;

    void setFilePicker(FilePicker picker) { filePicker_ = std::move(picker); }

    void clearEntries();
    std::string fragment() const;
    QString lastFolder() const { return lastFolder_; }

    void resetControls();
    void onAddClicked();
    void onCancelClicked();
    void onChooseFileClicked();

private:
    std::unique_ptr<Ui::AddLinkDialog> ui;
    FilePicker filePicker_;
    QString lastFolder_; // folder of the last file picked during this run
};

} // namespace qloom::gui
