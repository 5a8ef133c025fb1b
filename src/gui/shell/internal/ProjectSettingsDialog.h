#pragma once

#include "gui/common/QtColor.h"
#include "gui/common/SettingsRules.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ProjectSettingsDialog;
}

namespace qloom::gui {

class ColorSwatch;
class ProjectSession;
class SiteFolderBox;
class SmallScreenBox;
class SpinBinding;
class TemplateInfoDialog;

// "Active Project Settings": edits the project-wide values. Nothing reaches the settings until
// OK has passed the template check; then all values change together, as one step of the
// session's history, and applied() asks for the preview.
class ProjectSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProjectSettingsDialog(ProjectSession& session, QWidget* parent = nullptr);
    ~ProjectSettingsDialog() override;

    // The information window is created after this dialog; it is handed over once it exists.
    void setTemplateInfo(TemplateInfoDialog* info) { templateInfo_ = info; }

    // Test seam: replaces the platform colour dialog.
    void setColorPicker(ColorPicker picker) { colorPicker_ = std::move(picker); }

    SiteFolderBox* siteFolder() const { return siteFolder_; }
    SmallScreenBox* smallScreen() const { return smallScreen_; }

    // The controls as a form, and back.
    SettingsForm form() const;
    void setForm(const SettingsForm& form);

    // Handlers, public so tests can name them.
    void loadFromProject();
    void chooseColor(ColorSwatch* swatch);
    void onDefaultsClicked();
    void onMoreInfoClicked();
    void onOkClicked();

Q_SIGNALS:
    // OK changed the settings: the preview shows them.
    void applied();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::ProjectSettingsDialog> ui;
    ProjectSession& session_;
    TemplateInfoDialog* templateInfo_ = nullptr;
    ColorPicker colorPicker_;
    SpinBinding* scrollOutSpin_;
    SpinBinding* scrollInSpin_;
    SiteFolderBox* siteFolder_;
    SmallScreenBox* smallScreen_;
};

} // namespace qloom::gui
