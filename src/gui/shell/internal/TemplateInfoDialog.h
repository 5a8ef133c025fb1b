#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TemplateInfoDialog;
}

namespace qloom::gui {

// Explains what a template page must contain. It has no help key of its own.
class TemplateInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit TemplateInfoDialog(QWidget* parent = nullptr);
    ~TemplateInfoDialog() override;

    QString infoText() const;

private:
    std::unique_ptr<Ui::TemplateInfoDialog> ui;
};

} // namespace qloom::gui
