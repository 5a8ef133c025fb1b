#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmTemplateInfo;
}

namespace qloom::gui {

// Explains what a template page must contain. It has no help key of its own.
class TfrmTemplateInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTemplateInfo(QWidget* parent = nullptr);
    ~TfrmTemplateInfo() override;

    QString infoText() const;

private:
    std::unique_ptr<Ui::TfrmTemplateInfo> ui;
};

} // namespace qloom::gui
