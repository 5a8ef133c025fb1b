#pragma once

// Shown after "Finalize": the two lines a web page needs, and a way to the project folder.

#include <QDialog>
#include <memory>

namespace Ui {
class FinalizedDialog;
}

namespace qloom::gui {

class ProjectSessionApi;

class FinalizedDialog : public QDialog {
    Q_OBJECT

public:
    FinalizedDialog(ProjectSessionApi& session, QWidget* parent = nullptr);
    ~FinalizedDialog() override;

    QString infoText() const;

private:
    void onBrowseClicked();

    std::unique_ptr<Ui::FinalizedDialog> ui;
    ProjectSessionApi& session_;
};

} // namespace qloom::gui
