#pragma once

// A stand-in main window for the editor and preview tests: every control the property editor
// and the preview controller look up, with the same objectNames, and a MainWindowOps that
// forwards to them and records what the other windows would have done.

#include "gui/common/MainWindowOps.h"
#include "gui/editor/PropertyEditor.h"
#include "gui/preview/PreviewController.h"

#include <QStringList>
#include <QWidget>
#include <vector>

namespace qloom::gui {

class MainFixture : public QWidget, public MainWindowOps {
public:
    explicit MainFixture(bool withPreview);
    ~MainFixture() override;

    Project& project() override { return project_; }
    QWidget* mainWidget() override { return this; }
    void showMenuProperties(int32_t row) override;
    void setEditingEnabled(bool enabled) override;
    void refreshPreview() override;
    void scrollPreviewTo(int32_t row) override;
    void selectInPreview(int32_t row) override;
    void markPreviewStale() override;
    void markPreviewCurrent() override;
    void setActiveProject(const QString&) override {}
    void setHelpButtonEnabled(bool enabled) override { helpStates.push_back(enabled); }
    void showHelp() override {}
    bool report(const Status& status) override;

    // Appends `count` menus, selects `selected` and shows it, as "Add Menu" would.
    void addMenus(int count, int selected = 0);

    PropertyEditor* editor = nullptr;
    PreviewController* preview = nullptr;

    int staleCalls = 0;
    std::vector<int32_t> selectCalls;
    std::vector<bool> helpStates;
    QStringList reports;

private:
    Project project_;
};

} // namespace qloom::gui
