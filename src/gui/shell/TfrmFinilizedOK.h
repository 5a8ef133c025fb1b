#pragma once

// Shown after "Finalize": the two lines a web page needs, and a way to the project folder.

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmFinilizedOK;
}

namespace qloom::gui {

class MainWindowOps;

class TfrmFinilizedOK : public QDialog {
    Q_OBJECT

public:
    explicit TfrmFinilizedOK(MainWindowOps& main);
    ~TfrmFinilizedOK() override;

    QString infoText() const;

private:
    void btnBrowseClick();

    std::unique_ptr<Ui::TfrmFinilizedOK> ui;
    MainWindowOps& main_;
};

} // namespace qloom::gui
