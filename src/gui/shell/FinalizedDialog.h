#pragma once

// Shown after "Finalize": the two lines a web page needs, and a way to the project folder.

#include <QDialog>
#include <memory>

namespace Ui {
class FinalizedDialog;
}

namespace qloom::gui {

class MainWindowOps;

class FinalizedDialog : public QDialog {
    Q_OBJECT

public:
    FinalizedDialog(MainWindowOps& main, QWidget* parent = nullptr);
    ~FinalizedDialog() override;

    QString infoText() const;

private:
    void btnBrowseClick();

    std::unique_ptr<Ui::FinalizedDialog> ui;
    MainWindowOps& main_;
};

} // namespace qloom::gui
