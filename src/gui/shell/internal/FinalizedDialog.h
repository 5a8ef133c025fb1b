#pragma once

// Shown after "Finalize": the two lines a web page needs, the files to upload with the script,
// and a way to the project folder.

#include "model/SiteReferences.h"

#include <QDialog>
#include <memory>
#include <vector>

namespace Ui {
class FinalizedDialog;
}

class QListWidget;

namespace qloom::gui {

class ProjectSessionApi;

class FinalizedDialog : public QDialog {
    Q_OBJECT

public:
    FinalizedDialog(ProjectSessionApi& session, QWidget* parent = nullptr);
    ~FinalizedDialog() override;

    QString infoText() const;
    // The local files of the project as last listed (when the dialog was shown).
    const std::vector<SiteFile>& files() const { return files_; }
    QListWidget* fileList() const;

    // Lists the files the menus refer to again; showing the dialog does this.
    void refreshFiles();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onBrowseClicked();
    void onCopyClicked();

    std::unique_ptr<Ui::FinalizedDialog> ui;
    ProjectSessionApi& session_;
    std::vector<SiteFile> files_;
};

} // namespace qloom::gui
