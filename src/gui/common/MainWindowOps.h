#pragma once

// The main-window operations that other windows and controllers call. MainWindow implements them
// by forwarding to the property editor and preview controllers; tests can implement them to
// observe calls.

#include "model/Project.h"
#include "model/Result.h"

#include <QString>
#include <cstdint>

class QWidget;

namespace qloom::gui {

class ProjectHistory;

class MainWindowOps {
public:
    virtual ~MainWindowOps() = default;

    virtual Project& project() = 0;
    virtual QWidget* mainWidget() = 0;
    // Every change a person makes to the project is recorded here, so it can be undone.
    virtual ProjectHistory& history() = 0;

    // Property editor.
    virtual void showMenuProperties(int32_t row) = 0;
    virtual void setEditingEnabled(bool enabled) = 0;
    // Preview.
    virtual void refreshPreview() = 0;
    virtual void scrollPreviewTo(int32_t row) = 0;
    virtual void selectInPreview(int32_t row) = 0;
    virtual void markPreviewStale() = 0;
    virtual void markPreviewCurrent() = 0;
    // Shell.
    virtual void setActiveProject(const QString& folder) = 0;
    virtual void setHelpButtonEnabled(bool enabled) = 0;
    virtual void showHelp() = 0;
    // Shows the general error report for a failed status; returns status.ok.
    virtual bool report(const Status& status) = 0;
};

} // namespace qloom::gui
